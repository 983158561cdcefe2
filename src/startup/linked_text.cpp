#include "startup/linked_text.h"

#include <bit>
#include <cstdint>
#include <cstring>

namespace maison {
namespace {

// Most frames show the same numbers as the frame before, and formatting is
// most of a frame's work. So each text remembers the last number formatted
// into it and the characters that gave: the same number in the same format
// is copied instead of formatted again. The bytes written are the same
// either way.
struct RememberedNumber {
  const LinkedText* text;
  std::uint64_t bits;
  PrintfFixed format;
  std::uint8_t length;
  char characters[23];  // with the zero
};

constexpr std::size_t remembered_count = 128;  // room for every text of the scene, and more
constexpr std::size_t probes = 8;
RememberedNumber remembered[remembered_count];

std::size_t home_slot(const LinkedText* text) {
  const auto address = static_cast<std::uint64_t>(reinterpret_cast<std::uintptr_t>(text));
  return static_cast<std::size_t>((address * 0x9E3779B97F4A7C15u) >> 57);
}

// The slot already holding this text, or a free one near it, or its home slot.
RememberedNumber& slot_of(const LinkedText* text) {
  const std::size_t home = home_slot(text);
  for (std::size_t i = 0; i < probes; ++i) {
    RememberedNumber& slot = remembered[(home + i) % remembered_count];
    if (slot.text == text || slot.text == nullptr) return slot;
  }
  return remembered[home];
}

}  // namespace

void write_label(LinkedText& text, std::string_view label) {
  const std::size_t count =
      label.size() < linked_text_capacity ? label.size() : linked_text_capacity;
  std::memcpy(text.characters, label.data(), count);
  text.characters[count] = '\0';
  text.length = static_cast<std::uint8_t>(count);
}

void write_number(LinkedText& text, double value, PrintfFixed format) {
  const auto bits = std::bit_cast<std::uint64_t>(value);
  RememberedNumber& slot = slot_of(&text);
  if (slot.text == &text && slot.bits == bits && slot.format.width == format.width &&
      slot.format.precision == format.precision) {
    std::memcpy(text.characters, slot.characters, slot.length + 1u);
    text.length = slot.length;
    return;
  }
  const std::size_t count = format_fixed(text.characters, sizeof text.characters, value, format);
  text.length = static_cast<std::uint8_t>(count);
  if (count < sizeof slot.characters) {
    slot = {&text, bits, format, text.length, {}};
    std::memcpy(slot.characters, text.characters, count + 1);
  }
}

}  // namespace maison
