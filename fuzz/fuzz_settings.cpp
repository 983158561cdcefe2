// libFuzzer target: kvr.ini text through inih and the settings keys.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string_view>

#include "settings.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string_view text(reinterpret_cast<const char*>(data), size);
  kvr::Settings settings;
  settings.file = "fuzz.ini";
  std::ostringstream errors;
  kvr::parse_settings(text, settings, errors);
  // Whatever the text, the values stay within their ranges.
  if (settings.png_width < 1 || settings.png_width > 10000) std::abort();
  if (settings.window_width < 100 || settings.window_width > 10000) std::abort();
  for (const std::string& name : settings.png_after)
    if (name.empty()) std::abort();
  // Every message names the file.
  std::string messages = errors.str();
  std::size_t start = 0;
  while (start < messages.size()) {
    if (messages.compare(start, 9, "fuzz.ini:") != 0) std::abort();
    std::size_t end = messages.find('\n', start);
    if (end == std::string::npos) std::abort();
    start = end + 1;
  }
  return 0;
}
