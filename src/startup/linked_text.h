// Writing texts into LinkedText records. The characters, their zero byte and
// the length byte are written together; the bytes behind the zero are left as
// they were (the scene sees all 80 bytes).
#ifndef MAISON_STARTUP_LINKED_TEXT_H
#define MAISON_STARTUP_LINKED_TEXT_H

#include <string_view>

#include "startup/linked_records.h"
#include "startup/printf_fixed.h"

namespace maison {

// Copies the label's characters and a zero into the text and sets its length.
void write_label(LinkedText& text, std::string_view label);

// Formats value into the text, followed by a zero, and sets the length to the
// number of characters produced.
void write_number(LinkedText& text, double value, PrintfFixed format);

}  // namespace maison

#endif
