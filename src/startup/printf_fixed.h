// Fixed-point number formatting with the result of printf's "%W.Pf":
// exactly rounded to P decimals (ties to even, as glibc does), padded on the
// left with blanks to at least W characters, never cut.
#ifndef MAISON_STARTUP_PRINTF_FIXED_H
#define MAISON_STARTUP_PRINTF_FIXED_H

#include <cstddef>

namespace maison {

struct PrintfFixed {
  int width;
  int precision;
};

// The four formats the program writes numbers with, named after their printf spelling.
inline constexpr PrintfFixed format_3_0f{3, 0};
inline constexpr PrintfFixed format_3_1f{3, 1};
inline constexpr PrintfFixed format_3_2f{3, 2};
inline constexpr PrintfFixed format_3_3f{3, 3};

// Writes value in the given format into out, followed by a zero byte, and
// returns the number of characters (the zero not counted). At most
// capacity - 1 characters are written; a longer text (only for magnitudes far
// beyond anything the house can produce) keeps its first capacity - 1.
std::size_t format_fixed(char* out, std::size_t capacity, double value, PrintfFixed format);

}  // namespace maison

#endif
