#include "pointer_states.h"

#include <array>
#include <iterator>
#include <limits>

namespace maison::fuzzing {
namespace {

// The program's hit rectangles, which it keeps to itself: the 25 controls
// of read_controls, the intro choice bar and its three boxes, and the
// twelve boxes of the results-view menu.
constexpr Target target_table[] = {
    // x1, y1, x2, y2
    {658, 568, 682, 590},  // intro button
    {739, 568, 763, 590},  // inert button
    {658, 20, 712, 65},    // results view
    {180, 78, 282, 106},   // menu grid, column by column
    {180, 43, 282, 71},   {180, 8, 282, 35},    {290, 78, 392, 106},
    {290, 43, 392, 71},   {290, 8, 392, 35},    {400, 78, 502, 106},
    {400, 43, 502, 71},                          // inert ninth cell
    {400, 8, 502, 35},    {610, 498, 633, 520},  // minus arrows, rows 1 to 6
    {610, 438, 633, 460}, {610, 378, 633, 400}, {610, 318, 633, 340},
    {610, 258, 633, 280}, {610, 198, 633, 220}, {764, 498, 787, 520},  // plus arrows, rows 1 to 6
    {764, 438, 787, 460}, {764, 378, 787, 400}, {764, 318, 787, 340},
    {764, 258, 787, 280}, {764, 198, 787, 220}, {766, 568, 790, 590},  // quit
    {25, 568, 140, 590},  // intro choice: USE, FONC, REM, the whole bar
    {160, 568, 325, 590}, {340, 568, 460, 590}, {25, 568, 630, 590},
    {526, 455, 546, 475},  // results-view menu, off and on box per row
    {577, 455, 597, 475}, {526, 425, 546, 445}, {577, 425, 597, 445},
    {526, 395, 546, 415}, {577, 395, 597, 415}, {526, 365, 546, 385},
    {577, 365, 597, 385}, {526, 335, 546, 355}, {577, 335, 597, 355},
    {526, 305, 546, 325}, {577, 305, 597, 325},
};

constexpr std::size_t target_count = std::size(target_table);
// Target bytes past the table give free points: a grid over the layout and
// a little beyond, or extreme coordinates.
constexpr std::size_t target_choices = target_count + 7;
// The target byte's multiples of it name the house steps, none to report.
static_assert(255 / target_choices == static_cast<std::size_t>(HouseStep::Action::report));

constexpr std::int32_t extremes[] = {std::numeric_limits<std::int32_t>::min(),
                                     -32769,
                                     -32768,
                                     -1,
                                     0,
                                     1,
                                     599,
                                     600,
                                     799,
                                     800,
                                     32767,
                                     32768,
                                     65535,
                                     1 << 24,
                                     std::numeric_limits<std::int32_t>::max() - 1,
                                     std::numeric_limits<std::int32_t>::max()};

// Buttons: mostly none, left or right; choice 15 takes a rare value (both
// buttons, values no test matches, negative ones).
constexpr std::int32_t common_buttons[15] = {0, 0, 0, 0, 0, 1, 1, 1, 1, 1, 2, 2, 2, 1, 0};
constexpr std::int32_t rare_buttons[] = {3,
                                         4,
                                         7,
                                         -1,
                                         255,
                                         65535,
                                         std::numeric_limits<std::int32_t>::min(),
                                         std::numeric_limits<std::int32_t>::max()};

// A coordinate from one nibble: one unit before the low border, the border,
// one unit inside, ten points across the inside, one unit inside the high
// border, the border, one unit beyond it.
std::int32_t spread(std::int32_t low, std::int32_t high, unsigned nibble) {
  const auto n = static_cast<std::int32_t>(nibble);
  if (n <= 2) return low - 1 + n;
  if (n >= 13) return high + (n - 14);
  return low + 1 + ((high - low - 2) * (n - 2)) / 11;
}

constexpr std::uint64_t full_trace_polls = 16;

std::uint32_t repeat_of(std::uint8_t byte) {
  if (byte < 200) return 1;
  if (byte < 240) return 2;
  if (byte < 252) return 5;
  return 60;  // a long hold, or a long idle stretch
}

}  // namespace

std::span<const Target> targets() {
  return target_table;
}

std::vector<kvr::PointerRun> closing_states() {
  constexpr std::int32_t x = 5, y = 300;  // left of every box, below the intro bar
  return {{x, y, 2, 1}, {x, y, 0, 1}, {x, y, 2, 1}, {x, y, 0, 1}};
}

SessionInput decode_session(std::span<const std::uint8_t> bytes) {
  SessionInput session;
  if (!bytes.empty()) {
    if (bytes[0] % 16 == 0) session.launch_code = 10;  // thousands digit 0
    // Few sessions write a trace: it costs more than the frames.
    if (bytes[0] >> 4U == 14) session.trace = SessionInput::Trace::changes;
    if (bytes[0] >> 3U == 31) session.trace = SessionInput::Trace::full;
  }
  auto byte = [&](std::size_t i) -> std::uint8_t { return i < bytes.size() ? bytes[i] : 0; };
  for (std::size_t at = 1; at < bytes.size(); at += 4) {
    const std::size_t choice = byte(at) % target_choices;
    const unsigned place = byte(at + 1);
    const unsigned low = place & 0x0fU, high = place >> 4U;
    kvr::PointerRun state;
    if (choice < target_count) {
      const Target& t = target_table[choice];
      state.x = spread(t.x1, t.x2, low);
      state.y = spread(t.y1, t.y2, high);
    } else if (choice + 1 < target_choices) {
      state.x = -20 + static_cast<std::int32_t>(low) * 56;
      state.y = -20 + static_cast<std::int32_t>(high) * 43;
    } else {
      state.x = extremes[low];
      state.y = extremes[high];
    }
    const std::uint8_t buttons = byte(at + 2);
    const unsigned pick = buttons & 0x0fU;
    state.buttons = pick < std::size(common_buttons)
                        ? common_buttons[pick]
                        : rare_buttons[(buttons >> 4U) % std::size(rare_buttons)];
    state.count = repeat_of(byte(at + 3));
    session.states.push_back(state);
    session.house_steps.push_back(
        {static_cast<HouseStep::Action>(byte(at) / target_choices), byte(at + 3)});
  }
  // A full trace writes every record on every line: only short sessions
  // write one, or the fuzzer, which favours the coverage of the trace,
  // would spend most of its time there.
  std::uint64_t polls = 0;
  for (const kvr::PointerRun& state : session.states) polls += state.count;
  if (session.trace == SessionInput::Trace::full && polls > full_trace_polls)
    session.trace = SessionInput::Trace::changes;
  for (const kvr::PointerRun& state : closing_states()) session.states.push_back(state);
  return session;
}

}  // namespace maison::fuzzing
