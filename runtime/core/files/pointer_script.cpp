#include "pointer_script.h"

#include <cerrno>
#include <charconv>
#include <cstring>
#include <fstream>
#include <sstream>

namespace kvr {

namespace {

constexpr std::uint32_t max_repeat = 1'000'000'000;

bool is_blank(char c) {
  return c == ' ' || c == '\t';
}

void skip_blanks(std::string_view& text) {
  while (!text.empty() && is_blank(text.front())) text.remove_prefix(1);
}

// One field: a decimal integer directly followed by a blank, a tab or the end
// of the line. Returns the problem, or "" when `out` was read.
std::string read_int(std::string_view& text, const char* field, std::int32_t& out) {
  skip_blanks(text);
  if (text.empty()) return std::string("missing ") + field;
  const char* first = text.data();
  const char* last = first + text.size();
  auto [end, ec] = std::from_chars(first, last, out);
  if (ec == std::errc::result_out_of_range)
    return std::string(field) + " is outside the signed 32-bit range";
  if (ec != std::errc() || (end != last && !is_blank(*end)))
    return std::string(field) + " is not a decimal integer";
  text.remove_prefix(static_cast<std::size_t>(end - first));
  return "";
}

std::string parse_line(std::string_view line, PointerRun& run) {
  std::string problem;
  if (!(problem = read_int(line, "X", run.x)).empty()) return problem;
  if (!(problem = read_int(line, "Y", run.y)).empty()) return problem;
  if (!(problem = read_int(line, "BUTTONS", run.buttons)).empty()) return problem;
  skip_blanks(line);
  run.count = 1;
  if (!line.empty() && line.front() == '*') {
    line.remove_prefix(1);
    std::uint64_t count = 0;
    const char* first = line.data();
    const char* last = first + line.size();
    auto [end, ec] = std::from_chars(first, last, count);
    if (ec == std::errc::invalid_argument || (end != last && !is_blank(*end)))
      return "the repeat after '*' is not a decimal integer";
    if (ec == std::errc::result_out_of_range || count < 1 || count > max_repeat)
      return "the repeat after '*' must be from 1 to 1000000000";
    run.count = static_cast<std::uint32_t>(count);
    line.remove_prefix(static_cast<std::size_t>(end - first));
    skip_blanks(line);
  }
  if (!line.empty()) return "unexpected text after the state";
  return "";
}

}  // namespace

std::uint64_t PointerScript::states() const {
  std::uint64_t total = 0;
  for (const PointerRun& run : runs) total += run.count;
  return total;
}

PointerScriptResult parse_pointer_script(std::string_view text, const std::string& name) {
  PointerScriptResult result;
  PointerScript script;
  script.name = name;
  std::size_t line_number = 0;
  while (!text.empty()) {
    std::size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    ++line_number;
    // A file written with CR LF line ends reads the same.
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    std::string_view rest = line;
    skip_blanks(rest);
    if (rest.empty() || rest.front() == '#') continue;
    PointerRun run;
    std::string problem = parse_line(rest, run);
    if (!problem.empty()) {
      result.error = name + ":" + std::to_string(line_number) + ": " + problem;
      return result;
    }
    script.runs.push_back(run);
  }
  result.script = std::move(script);
  return result;
}

PointerScriptResult load_pointer_script(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    PointerScriptResult result;
    result.error = path + ": cannot open the pointer script (" + std::strerror(errno) + ")";
    return result;
  }
  std::ostringstream text;
  text << in.rdbuf();
  if (in.bad()) {
    PointerScriptResult result;
    result.error = path + ": cannot read the pointer script";
    return result;
  }
  return parse_pointer_script(text.str(), path);
}

}  // namespace kvr
