// What must hold after every frame of the program, whatever the input:
// parameters within their tables, well-formed texts, switches, colours and
// indicators in range, at most one panel open, a class letter, finite
// results.
#ifndef MAISON_FUZZ_SESSION_FRAME_INVARIANTS_H
#define MAISON_FUZZ_SESSION_FRAME_INVARIANTS_H

#include <string>

namespace maison::fuzzing {

// The first broken rule, as "rule: detail", or an empty string. Call it
// after a whole frame; the class letter is required from the first frame on.
std::string broken_invariant();

}  // namespace maison::fuzzing

#endif
