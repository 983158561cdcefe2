#include "pointer_recorder.h"

#include <fstream>
#include <sstream>

#include "atomic_file.h"

namespace kvr {

namespace {

constexpr std::uint32_t kMaxRun = 1'000'000'000;  // the longest repeat a script may hold

void put_state(std::string& out, std::int32_t x, std::int32_t y, std::int32_t buttons,
               std::uint32_t count) {
  out += std::to_string(x);
  out += ' ';
  out += std::to_string(y);
  out += ' ';
  out += std::to_string(buttons);
  if (count > 1) {
    out += " *";
    out += std::to_string(count);
  }
  out += '\n';
}

// An argument as a POSIX shell reads it back.
std::string shell_word(const std::string& word) {
  bool plain = !word.empty();
  for (char c : word) {
    bool ok = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
              c == '-' || c == '_' || c == '.' || c == '/' || c == '=' || c == ':' || c == ',';
    plain = plain && ok;
  }
  if (plain) return word;
  std::string quoted(1, '\'');
  for (char c : word) {
    if (c == '\'') {
      quoted.append("'\\''");
    } else {
      quoted.push_back(c);
    }
  }
  quoted.push_back('\'');
  return quoted;
}

}  // namespace

void PointerRecorder::start(std::string path) {
  path_ = std::move(path);
  runs_.clear();
}

void PointerRecorder::note(const std::string& key, const std::string& value) {
  for (auto& fact : facts_) {
    if (fact.first == key) {
      fact.second = value;
      return;
    }
  }
  facts_.emplace_back(key, value);
}

void PointerRecorder::add(std::int32_t x, std::int32_t y, std::int32_t buttons) {
  if (!active()) return;
  if (!runs_.empty()) {
    PointerRun& last = runs_.back();
    if (last.x == x && last.y == y && last.buttons == buttons && last.count < kMaxRun) {
      ++last.count;
      return;
    }
  }
  runs_.push_back({x, y, buttons, 1});
}

std::string PointerRecorder::text(bool idle_after) const {
  std::uint64_t polls = 0;
  for (const PointerRun& run : runs_) polls += run.count;
  std::string out =
      "# maison pointer recording: every pointer state KvMouse handed to the program,\n"
      "# one poll per state (X Y BUTTONS, *N repeats it N times).\n";
  for (const auto& [key, value] : facts_) {
    out.append("# ").append(key).append(": ").append(value).push_back('\n');
  }
  out.append("# polls: ").append(std::to_string(polls)).push_back('\n');
  for (const PointerRun& run : runs_) put_state(out, run.x, run.y, run.buttons, run.count);
  if (idle_after) {
    if (runs_.empty()) {
      put_state(out, 0, 0, 0, 1);
    } else {
      out += "# one idle state more: the program ended the run itself\n";
      put_state(out, runs_.back().x, runs_.back().y, 0, 1);
    }
  }
  return out;
}

bool PointerRecorder::write(bool idle_after, std::ostream& errors) const {
  if (!active()) return true;
  return write_file_atomically(path_, text(idle_after), "the recording", errors);
}

std::string process_command_line() {
  std::ifstream in("/proc/self/cmdline", std::ios::binary);
  if (!in) return "";
  std::ostringstream bytes;
  bytes << in.rdbuf();
  const std::string raw = bytes.str();
  std::string line;
  std::size_t start = 0;
  bool first = true;
  while (start < raw.size()) {
    std::size_t end = raw.find('\0', start);
    if (end == std::string::npos) end = raw.size();
    std::string word = raw.substr(start, end - start);
    if (first) {
      std::size_t slash = word.rfind('/');
      if (slash != std::string::npos) word = word.substr(slash + 1);
    }
    if (!first) line.push_back(' ');
    line.append(shell_word(word));
    first = false;
    start = end + 1;
  }
  return line;
}

}  // namespace kvr
