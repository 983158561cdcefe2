// The eight panels of the editor: which one is open, and opening one from
// its menu button.
#ifndef MAISON_INPUT_PANELS_H
#define MAISON_INPUT_PANELS_H

#include <cstddef>
#include <cstdint>

namespace maison {

// In the order of the menu grid, column by column.
enum class Panel : std::uint8_t {
  walls,
  floor,
  ceiling,
  crawlspace,
  windows,
  ventilation,
  temperature,
  location,
};
inline constexpr std::size_t panel_count = 8;

constexpr std::size_t index_of(Panel panel) {
  return static_cast<std::size_t>(panel);
}

// One flag per panel: at most one is 1.
inline std::uint8_t active_panel[panel_count];

inline bool panel_open(Panel panel) {
  return active_panel[index_of(panel)] == 1;
}

// Opens the panel whose menu button was clicked this frame, closing the others.
void select_panel();

// Hides every panel, clears every flag and blanks A1 to A6.
void reset_panels();

}  // namespace maison

#endif
