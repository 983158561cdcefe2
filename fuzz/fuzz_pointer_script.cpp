// libFuzzer target: pointer scripts. A script that parses is replayed run
// by run; one that does not names its file and line.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "pointer_script.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string_view text(reinterpret_cast<const char*>(data), size);
  kvr::PointerScriptResult result = kvr::parse_pointer_script(text, "fuzz.txt");
  if (!result.script) {
    if (result.error.rfind("fuzz.txt:", 0) != 0) std::abort();
    return 0;
  }
  for (const kvr::PointerRun& run : result.script->runs)
    if (run.count < 1 || run.count > 1'000'000'000U) std::abort();
  // Runs are kept, not expanded: never more runs than lines.
  std::size_t lines = 1;
  for (char c : text) lines += c == '\n' ? 1U : 0U;
  if (result.script->runs.size() > lines) std::abort();
  return 0;
}
