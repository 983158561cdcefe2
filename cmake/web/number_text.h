// Number texts of the WebAssembly build, the same bytes as the native build's
// std::to_chars: the libc++ of Debian's Emscripten 3.1.6 has no std::to_chars
// for floating-point values (cmake/web/libcxx_compat.h puts these in its
// place). Checked against the native std::to_chars by tests/web.
#ifndef MAISON_WEB_NUMBER_TEXT_H
#define MAISON_WEB_NUMBER_TEXT_H

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <system_error>

namespace maison_web {

inline std::to_chars_result copy_out(char* first, char* last, const char* text, std::size_t n) {
  if (static_cast<std::size_t>(last - first) < n) return {last, std::errc::value_too_large};
  std::memcpy(first, text, n);
  return {first + n, std::errc{}};
}

// std::to_chars(first, last, value, std::chars_format::fixed, precision):
// printf's "%.*f", exactly rounded, ties to even, as std::to_chars.
inline std::to_chars_result to_chars_fixed(char* first, char* last, double value, int precision) {
  char small[128];
  const int n = std::snprintf(small, sizeof small, "%.*f", precision, value);
  if (n < 0) return {last, std::errc::value_too_large};
  if (static_cast<std::size_t>(n) < sizeof small)
    return copy_out(first, last, small, static_cast<std::size_t>(n));
  if (last - first < n) return {last, std::errc::value_too_large};
  char* wide = static_cast<char*>(std::malloc(static_cast<std::size_t>(n) + 1));
  if (wide == nullptr) return {last, std::errc::value_too_large};
  std::snprintf(wide, static_cast<std::size_t>(n) + 1, "%.*f", precision, value);
  std::to_chars_result result = copy_out(first, last, wide, static_cast<std::size_t>(n));
  std::free(wide);
  return result;
}

// std::to_chars(first, last, value) for a float: the fewest characters that
// read back as the same float, fixed or scientific (fixed on a tie); of
// texts of that length, the one nearest the value, ties to even.
inline std::to_chars_result to_chars_shortest(char* first, char* last, float value) {
  const bool negative = std::signbit(value);
  char text[64];
  std::size_t n = 0;
  if (negative) text[n++] = '-';
  if (std::isnan(value)) return copy_out(first, last, negative ? "-nan" : "nan", negative ? 4 : 3);
  if (std::isinf(value)) return copy_out(first, last, negative ? "-inf" : "inf", negative ? 4 : 3);
  if (value == 0.0f) return copy_out(first, last, negative ? "-0" : "0", negative ? 2 : 1);
  const double exact = std::fabs(static_cast<double>(value));
  const float magnitude = std::fabs(value);

  // The fewest significant digits that read back as the value: the correctly
  // rounded ones, or their neighbour on the other side of the value when the
  // value's rounding interval is lopsided (at a power of two).
  std::uint64_t digits = 0;
  int exponent = 0;  // of the first digit
  int count = 0;
  for (int p = 1; p <= 9 && count == 0; ++p) {
    char sci[40];
    std::snprintf(sci, sizeof sci, "%.*e", p - 1, exact);
    std::uint64_t d = 0;
    const char* c = sci;
    for (; *c != 'e'; ++c)
      if (*c >= '0' && *c <= '9') d = d * 10 + static_cast<std::uint64_t>(*c - '0');
    const int e = std::atoi(c + 1);
    std::uint64_t low = 1;
    for (int i = 1; i < p; ++i) low *= 10;
    // The correctly rounded digits (ties to even, as printf rounds) are the
    // nearest; only when they miss the interval can the neighbour on the
    // value's other side be in it. No two candidates are in it otherwise.
    const std::uint64_t tried[] = {d, d - 1, d + 1};
    for (std::uint64_t candidate : tried) {
      if (candidate < low || candidate >= low * 10) continue;
      char back[40];
      std::snprintf(back, sizeof back, "%llue%d", static_cast<unsigned long long>(candidate),
                    e - (p - 1));
      if (std::strtof(back, nullptr) != magnitude) continue;
      digits = candidate;
      count = p;
      exponent = e;
      break;
    }
  }
  while (count > 1 && digits % 10 == 0) {
    digits /= 10;
    --count;
  }
  char ds[24];
  std::snprintf(ds, sizeof ds, "%llu", static_cast<unsigned long long>(digits));

  char sci[32];
  int sci_n = std::snprintf(sci, sizeof sci, "%c%s%se%c%02d", ds[0], count > 1 ? "." : "", ds + 1,
                            exponent < 0 ? '-' : '+', std::abs(exponent));
  char fixed[64];
  int fixed_n = 0;
  if (exponent >= count - 1) {
    // An integer: its exact digits, as long as the shortest and nearer.
    fixed_n = std::snprintf(fixed, sizeof fixed, "%.0f", exact);
  } else if (exponent >= 0) {
    fixed_n = std::snprintf(fixed, sizeof fixed, "%.*s.%s", exponent + 1, ds, ds + exponent + 1);
  } else {
    fixed_n = std::snprintf(fixed, sizeof fixed, "0.%0*d%s", -exponent - 1, 0, ds);
    if (-exponent - 1 == 0) fixed_n = std::snprintf(fixed, sizeof fixed, "0.%s", ds);
  }
  const char* chosen = fixed_n <= sci_n ? fixed : sci;
  const int chosen_n = fixed_n <= sci_n ? fixed_n : sci_n;
  std::memcpy(text + n, chosen, static_cast<std::size_t>(chosen_n));
  n += static_cast<std::size_t>(chosen_n);
  return copy_out(first, last, text, n);
}

}  // namespace maison_web

#endif
