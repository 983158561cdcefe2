// The launch code on the command line, the same on every platform.
#include <charconv>
#include <cstdio>
#include <cstring>

#include "platform/win_platform.h"

namespace maison {

namespace {

constexpr const char* usage =
    "usage: maison [LAUNCH_CODE]   LAUNCH_CODE: a decimal number from 0 to 65535 (default 1000)";

// Digits only: no sign, no blank, at least one digit, at most 65535.
// from_chars on an unsigned type takes neither '+' nor '-'.
bool parse_code(const char* text, std::int32_t& code) {
  const char* const last = text + std::strlen(text);
  std::uint32_t value = 0;
  const auto [end, error] = std::from_chars(text, last, value);
  if (error != std::errc{} || end != last || value > 65535) return false;
  code = static_cast<std::int32_t>(value);
  return true;
}

}  // namespace

LaunchArrival receive_launch_code(int argc, const char* const* argv, std::FILE* out,
                                  std::FILE* err) {
  if (argc <= 1) return {true, direct_start_code, 0};
  if (argc == 2 && std::strcmp(argv[1], "--help") == 0) {
    std::fprintf(out, "%s\n", usage);
    return {false, 0, 0};
  }
  std::int32_t code = 0;
  if (argc > 2) {
    std::fprintf(err, "maison: expected at most one argument; %s\n", usage);
    return {false, 0, 2};
  }
  if (!parse_code(argv[1], code)) {
    std::fprintf(err, "maison: invalid launch code \"%s\"; %s\n", argv[1], usage);
    return {false, 0, 2};
  }
  return {true, code, 0};
}

}  // namespace maison
