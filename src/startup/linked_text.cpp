#include "startup/linked_text.h"

#include <cstring>

namespace maison {

void write_label(LinkedText& text, std::string_view label) {
  const std::size_t count =
      label.size() < linked_text_capacity ? label.size() : linked_text_capacity;
  std::memcpy(text.characters, label.data(), count);
  text.characters[count] = '\0';
  text.length = static_cast<std::uint8_t>(count);
}

void write_number(LinkedText& text, double value, PrintfFixed format) {
  const std::size_t count = format_fixed(text.characters, sizeof text.characters, value, format);
  text.length = static_cast<std::uint8_t>(count);
}

}  // namespace maison
