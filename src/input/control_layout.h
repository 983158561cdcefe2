// The fixed layout of buttons and arrows and the once-a-frame poll that
// turns the pointer into control flags.
#ifndef MAISON_INPUT_CONTROL_LAYOUT_H
#define MAISON_INPUT_CONTROL_LAYOUT_H

#include <cstddef>
#include <cstdint>

#include "input/panels.h"

namespace maison {

inline constexpr std::size_t stepper_rows = 6;

// Rewritten by every read_controls (quit_requested is only ever set).
inline std::uint8_t intro_clicked;
inline std::uint8_t results_view_pressed;
inline std::uint8_t panel_button_clicked[panel_count];
inline std::uint8_t minus_clicked[stepper_rows];  // index 0 is stepper row 1 (the top row)
inline std::uint8_t plus_clicked[stepper_rows];

// One poll, then the 25 hit tests in layout order. A click waits for its
// release, so at most one control reports per frame: the first in the layout.
void read_controls();

}  // namespace maison

#endif
