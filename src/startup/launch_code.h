// The launch code received from the menu program, its four digits, and the
// code sent back at exit.
#ifndef MAISON_STARTUP_LAUNCH_CODE_H
#define MAISON_STARTUP_LAUNCH_CODE_H

#include <cstdint>

namespace maison {

inline std::int32_t launch_thousands;  // 0 ends the run after its first frame
inline std::int32_t launch_hundreds;
inline std::int32_t launch_tens;
inline std::int32_t launch_units;  // 1 and 2 choose a configuration; a 9 is kept as 0

// 1 ends the frame loop at the end of the current frame; never cleared.
inline std::uint8_t quit_requested;

// The code sent to the menu program at exit.
inline std::int32_t return_launch_code;

// Sets the four digits from the received code. Called once, before anything else.
void decode_launch_code(std::int32_t code);

// Builds return_launch_code from the digits: the thousands digit sent back is always 1.
void build_return_launch_code();

}  // namespace maison

#endif
