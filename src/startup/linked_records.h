// The kinds of record that the scene reads through its bindings. The scene
// keeps the address of each record and reads its bytes directly, so these
// layouts are fixed to the byte.
#ifndef MAISON_STARTUP_LINKED_RECORDS_H
#define MAISON_STARTUP_LINKED_RECORDS_H

#include <cstddef>
#include <cstdint>
#include <type_traits>

namespace maison {

// An 80-byte text area: byte 0 holds the number N of characters, bytes 1 to N
// the characters and byte N + 1 a zero. Writers never touch the bytes behind
// the zero.
struct LinkedText {
  std::uint8_t length;
  char characters[79];
};

// The longest text that fits: 79 bytes of characters, one of them the zero.
inline constexpr std::size_t linked_text_capacity = sizeof(LinkedText::characters) - 1;

// A show/hide switch: the first float is 1.0 to show the element and 0.0 to
// hide it (TALFENT carries the window count instead); the second is always
// 1.0. Writers change only the first.
struct DisplaySwitch {
  float shown;
  float second;
};

// A colour: red, green and blue, each 0 to 255.
struct ColourTriple {
  std::int16_t red;
  std::int16_t green;
  std::int16_t blue;

  friend constexpr bool operator==(const ColourTriple&, const ColourTriple&) = default;
};

// The 8-byte area bound to TALNUM, never read or written by the program.
struct TalnumArea {
  std::int32_t words[2];
};

static_assert(sizeof(LinkedText) == 80 && alignof(LinkedText) == 1);
static_assert(offsetof(LinkedText, length) == 0 && offsetof(LinkedText, characters) == 1);
static_assert(sizeof(DisplaySwitch) == 8 && sizeof(float) == 4);
static_assert(offsetof(DisplaySwitch, shown) == 0 && offsetof(DisplaySwitch, second) == 4);
static_assert(sizeof(ColourTriple) == 6);
static_assert(offsetof(ColourTriple, red) == 0 && offsetof(ColourTriple, green) == 2 &&
              offsetof(ColourTriple, blue) == 4);
static_assert(sizeof(TalnumArea) == 8);
static_assert(std::is_standard_layout_v<LinkedText> && std::is_standard_layout_v<DisplaySwitch> &&
              std::is_standard_layout_v<ColourTriple> && std::is_standard_layout_v<TalnumArea>);

}  // namespace maison

#endif
