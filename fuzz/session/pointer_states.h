// Fuzz bytes as a session of the program: a launch code and pointer states.
// The states aim mostly at the program's buttons, arrows and the boxes of
// its two modal views (inside, on the border, just outside), with buttons
// mostly 0, 1 or 2, so that short inputs reach every panel and view.
#ifndef MAISON_FUZZ_SESSION_POINTER_STATES_H
#define MAISON_FUZZ_SESSION_POINTER_STATES_H

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "pointer_script.h"

namespace maison::fuzzing {

// What the runtime's own commands do to its views of the house, one step
// after each frame in order: open or close a view, step the humidity, pin
// or clear the reference, write the report. `detail` says which view, and
// whether a pin clears a pinned reference.
struct HouseStep {
  enum class Action : std::uint8_t { none, toggle_view, humidity_up, humidity_down, pin, report };
  Action action = Action::none;
  std::uint8_t detail = 0;
};

struct SessionInput {
  // Whether the runtime writes its trace (to /dev/null), and how much of
  // it: a full one only in sessions of at most 16 polls of their own.
  enum class Trace : std::uint8_t { none, changes, full };

  std::int32_t launch_code = 1000;
  std::vector<kvr::PointerRun> states;
  Trace trace = Trace::none;
  std::vector<HouseStep> house_steps;  // one per state
};

// Byte 0 chooses the launch code and the trace; then every four bytes are one state:
// target, place in the target, buttons, repeat. Missing bytes count as 0.
// The target byte's multiple of the target count (0 to 5) is also the
// state's house step, the repeat byte its detail: the pointer states stay
// what they were without them. The closing states (closing_states()) are
// appended.
SessionInput decode_session(std::span<const std::uint8_t> bytes);

// Right press and release outside every box, twice: whatever wait or modal
// view the program is in when the states run out (a wait for release and
// then the intro choice at worst), they lead it back to its frame loop, so
// the session always ends through the runtime's "end of input".
std::vector<kvr::PointerRun> closing_states();

// The rectangles the states aim at, for tests of the decoder.
struct Target {
  std::int16_t x1, y1, x2, y2;
};
std::span<const Target> targets();

}  // namespace maison::fuzzing

#endif
