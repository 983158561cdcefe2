// One run of the program inside this process, as the executable runs it
// (its house handed to the runtime with KvHouse) but without the
// configuration copy and the hand-over: the program's
// variables back to their process-start zero, the runtime started afresh
// with the session's pointer states in memory, start-up, then frames until
// the program asks to end, with a look after every frame.
#ifndef MAISON_FUZZ_SESSION_FRAME_SESSION_H
#define MAISON_FUZZ_SESSION_FRAME_SESSION_H

#include <cstdint>
#include <functional>
#include <string>

#include "pointer_states.h"

namespace maison::fuzzing {

// Once per process, before the first session: parses `scene_file` for every
// later session (it stands for "HOME.SP1") and makes an empty folder where
// the runtime finds no settings; chooses the headless backend. False, with
// a message on standard error, when it cannot.
bool prepare_sessions(const std::string& scene_file);

// Called after every frame with its number, 1 for the first; false stops
// the session after that frame.
using AfterFrame = std::function<bool(std::uint64_t frame)>;

// Runs the whole session and returns the number of frames run.
std::uint64_t run_session(const SessionInput& input, const AfterFrame& after_frame);

}  // namespace maison::fuzzing

#endif
