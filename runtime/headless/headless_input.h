// Pointer states handed to the headless backend in memory instead of
// through a pointer script. For drivers that link the runtime into their
// own process and start it afresh many times (the frame fuzzer and the
// property test of the program's frame); not exported by the library.
#ifndef KVR_HEADLESS_HEADLESS_INPUT_H
#define KVR_HEADLESS_HEADLESS_INPUT_H

#include <vector>

#include "pointer_script.h"

namespace kvr {

// The next headless backend to open answers its polls with these runs, as
// if they were its pointer script, whatever its settings name as input.
void give_next_headless_input(std::vector<PointerRun> runs);

}  // namespace kvr

#endif
