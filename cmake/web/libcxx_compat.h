// Included before every C++ file of the WebAssembly build (the toolchain's
// -include): what the program and the runtime use of C++20 that the libc++
// of Debian's Emscripten 3.1.6 lacks, so that their sources stay as they are.
// Only where the library lacks it; nothing here in native builds.
#ifndef MAISON_WEB_LIBCXX_COMPAT_H
#define MAISON_WEB_LIBCXX_COMPAT_H

#include <bit>
#include <charconv>
#include <version>

#include "number_text.h"

namespace std {

#ifndef __cpp_lib_bit_cast
template <class To, class From>
constexpr To bit_cast(const From& from) noexcept {
  return __builtin_bit_cast(To, from);
}
#endif

#ifndef __cpp_lib_to_chars
inline to_chars_result to_chars(char* first, char* last, float value) {
  return maison_web::to_chars_shortest(first, last, value);
}

// Fixed notation only: the one the program uses.
inline to_chars_result to_chars(char* first, char* last, double value, chars_format format,
                                int precision) {
  if (format != chars_format::fixed) return {last, errc::invalid_argument};
  return maison_web::to_chars_fixed(first, last, value, precision);
}
#endif

}  // namespace std

#endif
