#include "settings_edit.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <sstream>

#include "atomic_file.h"

namespace kvr {
namespace {

std::string_view trim(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r'))
    text.remove_suffix(1);
  return text;
}

}  // namespace

std::string with_setting(std::string_view text, std::string_view wanted_section,
                         std::string_view key, std::string_view value) {
  const bool crlf = text.find("\r\n") != std::string_view::npos;
  const std::string end = crlf ? "\r\n" : "\n";
  std::string line(key);
  line.append(" = ").append(value);
  std::string out;
  std::string_view section;
  bool done = false;
  std::size_t pos = 0;
  while (pos < text.size()) {
    std::size_t next = text.find('\n', pos);
    next = next == std::string_view::npos ? text.size() : next + 1;
    std::string_view whole = text.substr(pos, next - pos);
    std::string_view content = trim(whole.substr(0, whole.find('\n')));
    pos = next;
    if (!done && content.size() >= 2 && content.front() == '[' && content.back() == ']') {
      section = trim(content.substr(1, content.size() - 2));
      out += whole;
      if (section == wanted_section) {
        // The key may come later in the section; it is looked for first.
        std::size_t scan = pos;
        bool later = false;
        while (scan < text.size()) {
          std::size_t stop = text.find('\n', scan);
          stop = stop == std::string_view::npos ? text.size() : stop + 1;
          std::string_view other = trim(text.substr(scan, stop - scan));
          if (!other.empty() && other.front() == '[') break;
          if (trim(other.substr(0, other.find('='))) == key) later = true;
          scan = stop;
        }
        if (!later) {
          if (!whole.empty() && whole.back() != '\n') out += end;
          out += line + end;
          done = true;
        }
      }
      continue;
    }
    if (!done && section == wanted_section && content.find('=') != std::string_view::npos &&
        trim(content.substr(0, content.find('='))) == key) {
      out += line;
      // The line keeps its own end.
      if (whole.size() >= 2 && whole.substr(whole.size() - 2) == "\r\n") {
        out += "\r\n";
      } else if (!whole.empty() && whole.back() == '\n') {
        out += '\n';
      }
      done = true;
      continue;
    }
    out += whole;
  }
  if (!done) {
    if (!out.empty() && out.back() != '\n') out += end;
    out.append("[").append(wanted_section).append("]").append(end);
    out += line + end;
  }
  return out;
}

bool save_setting(const std::string& path, std::string_view section, std::string_view key,
                  std::string_view value, std::string_view what, std::ostream& errors) {
  std::string text;
  std::ifstream in(path, std::ios::binary);
  if (in) {
    std::ostringstream read;
    read << in.rdbuf();
    text = read.str();
  } else if (errno != ENOENT) {
    errors << path << ": cannot read the settings (" << std::strerror(errno) << "); " << what
           << " is not kept\n";
    return false;
  }
  return write_file_atomically(path, with_setting(text, section, key, value), "the settings",
                               errors);
}

}  // namespace kvr
