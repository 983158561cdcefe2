// Pointer scripts: the recorded input of the headless backend. A script is
// kept as its runs (a state and how many polls it lasts), never expanded, so
// a line such as "0 0 0 *1000000000" costs a few bytes.
#ifndef KVR_CORE_POINTER_SCRIPT_H
#define KVR_CORE_POINTER_SCRIPT_H

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kvr {

struct PointerRun {
  std::int32_t x = 0;
  std::int32_t y = 0;
  std::int32_t buttons = 0;
  std::uint32_t count = 1;  // 1 .. 1,000,000,000 polls
};

struct PointerScript {
  std::string name;  // the file it came from, for messages
  std::vector<PointerRun> runs;

  std::uint64_t states() const;  // number of polls the script answers
};

struct PointerScriptResult {
  std::optional<PointerScript> script;
  std::string error;  // "FILE:LINE: reason" or "FILE: reason"
};

// Reads script text; `name` is used in messages only. The first bad line
// makes the whole script fail.
PointerScriptResult parse_pointer_script(std::string_view text, const std::string& name);
PointerScriptResult load_pointer_script(const std::string& path);

}  // namespace kvr

#endif
