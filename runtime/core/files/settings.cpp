#include "settings.h"

#include <ini.h>

#include <cerrno>
#include <charconv>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string_view>

namespace kvr {

namespace {

// inih hands its handler no line number in the distribution's build, so the
// reader below feeds it one line per call and remembers which line that was.
struct IniSource {
  std::string_view text;
  std::size_t pos = 0;
  int line = 0;  // number of the line last handed to inih
  const std::string* file = nullptr;
  std::ostream* errors = nullptr;
  Settings* settings = nullptr;
};

char* read_line(char* buffer, int size, void* stream) {
  auto* source = static_cast<IniSource*>(stream);
  if (source->pos >= source->text.size() || size < 3) return nullptr;
  std::string_view rest = source->text.substr(source->pos);
  std::size_t end = rest.find('\n');
  std::size_t length = end == std::string_view::npos ? rest.size() : end + 1;
  source->pos += length;
  ++source->line;
  std::string_view line = rest.substr(0, length);
  // A NUL inside a line would silently cut it short in inih.
  if (line.find('\0') != std::string_view::npos) {
    *source->errors << *source->file << ':' << source->line
                    << ": the line holds a zero byte; line ignored\n";
    line = "\n";
  }
  auto capacity = static_cast<std::size_t>(size) - 1;
  if (line.size() > capacity) {
    *source->errors << *source->file << ':' << source->line << ": line longer than " << capacity - 2
                    << " characters; line ignored\n";
    line = "\n";
  }
  std::memcpy(buffer, line.data(), line.size());
  buffer[line.size()] = '\0';
  return buffer;
}

bool parse_int(std::string_view text, int low, int high, int& out) {
  int value = 0;
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (ec != std::errc() || end != text.data() + text.size() || value < low || value > high)
    return false;
  out = value;
  return true;
}

std::string_view trim(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  return text;
}

// Applies one key. Returns "" when it was taken, or the problem.
std::string apply_key(Settings& s, std::string_view section, std::string_view key,
                      std::string_view value) {
  if (section == "runtime") {
    if (key == "backend") {
      if (value == "window") {
        s.backend = Settings::Backend::Window;
      } else if (value == "headless") {
        s.backend = Settings::Backend::Headless;
      } else {
        return "\"" + std::string(value) + "\" is not window or headless";
      }
      return "";
    }
    if (key == "trace") {
      s.trace = value;
      return "";
    }
    if (key == "trace_states") {
      if (value == "changes") {
        s.trace_states = Settings::TraceStates::Changes;
      } else if (value == "full") {
        s.trace_states = Settings::TraceStates::Full;
      } else {
        return "\"" + std::string(value) + "\" is not changes or full";
      }
      return "";
    }
  } else if (section == "headless") {
    if (key == "input") {
      s.input = value;
      return "";
    }
    if (key == "png_dir") {
      s.png_dir = value;
      return "";
    }
    if (key == "png_after") {
      std::vector<std::string> names;
      std::string_view rest = value;
      while (!rest.empty()) {
        std::size_t comma = rest.find(',');
        std::string_view name = trim(rest.substr(0, comma));
        if (name.empty()) return "empty action name in the list";
        names.emplace_back(name);
        if (comma == std::string_view::npos) break;
        rest.remove_prefix(comma + 1);
        if (rest.empty()) return "empty action name in the list";
      }
      s.png_after = std::move(names);
      return "";
    }
    if (key == "commands") {
      CommandScheduleResult read = parse_command_schedule(value);
      if (!read.error.empty()) return read.error;
      s.commands = std::move(read.schedule);
      return "";
    }
    if (key == "png_width" || key == "png_height") {
      int& target = key == "png_width" ? s.png_width : s.png_height;
      if (!parse_int(value, 1, 10000, target))
        return "\"" + std::string(value) + "\" is not a whole number from 1 to 10000";
      return "";
    }
  } else if (section == "window") {
    if (key == "mode") {
      if (value == "fit") {
        s.window_mode = Settings::WindowMode::Fit;
      } else if (value == "windowed") {
        s.window_mode = Settings::WindowMode::Windowed;
      } else if (value == "fullscreen") {
        s.window_mode = Settings::WindowMode::Fullscreen;
      } else {
        return "\"" + std::string(value) + "\" is not fit, windowed or fullscreen";
      }
      return "";
    }
    if (key == "width" || key == "height") {
      int& target = key == "width" ? s.window_width : s.window_height;
      if (!parse_int(value, 100, 10000, target))
        return "\"" + std::string(value) + "\" is not a whole number from 100 to 10000";
      return "";
    }
    if (key == "title") {
      s.window_title = value;
      return "";
    }
    if (key == "screenshots") {
      if (value.empty()) return "empty folder name";
      s.screenshot_dir = value;
      return "";
    }
    if (key == "record") {
      s.record = value;
      return "";
    }
  } else if (section == "house") {
    if (key == "humidity") {
      int humidity = 0;
      if (!parse_int(value, 30, 80, humidity) || humidity % 5 != 0)
        return "\"" + std::string(value) + "\" is not a whole number from 30 to 80 in steps of 5";
      s.indoor_humidity = humidity;
      return "";
    }
  } else if (section == "view") {
    if (key == "palette") {
      if (value == "standard") {
        s.palette = Palette::Standard;
      } else if (value == "cividis") {
        s.palette = Palette::Cividis;
      } else {
        return std::string("\"").append(value).append("\" is not standard or cividis");
      }
      return "";
    }
  } else {
    return "unknown section [" + std::string(section) + "]";
  }
  return "unknown key in [" + std::string(section) + "]";
}

int on_key(void* user, const char* section, const char* name, const char* value) {
  auto* source = static_cast<IniSource*>(user);
  std::string problem = apply_key(*source->settings, section, name, value ? value : "");
  if (!problem.empty())
    *source->errors << *source->file << ':' << source->line << ": " << name << ": " << problem
                    << '\n';
  return 1;  // keep going: one bad key never hides the others
}

}  // namespace

void parse_settings(std::string_view text, Settings& settings, std::ostream& errors) {
  IniSource source;
  source.text = text;
  source.file = &settings.file;
  source.errors = &errors;
  source.settings = &settings;
  int first_error = ini_parse_stream(read_line, &source, on_key, &source);
  if (first_error > 0)
    errors << settings.file << ':' << first_error
           << ": not a [section] or key = value line; line ignored\n";
}

void apply_environment(Settings& settings, std::ostream& errors) {
  struct Override {
    const char* variable;
    const char* section;
    const char* key;
  };
  static constexpr Override overrides[] = {
      {"KVR_BACKEND", "runtime", "backend"}, {"KVR_INPUT", "headless", "input"},
      {"KVR_TRACE", "runtime", "trace"},     {"KVR_TRACE_STATES", "runtime", "trace_states"},
      {"KVR_RECORD", "window", "record"},
  };
  for (const Override& o : overrides) {
    const char* value = std::getenv(o.variable);
    if (value == nullptr) continue;
    std::string problem = apply_key(settings, o.section, o.key, value);
    if (!problem.empty()) errors << o.variable << ": " << problem << '\n';
  }
}

Settings load_settings(const std::string& path, std::ostream& errors) {
  Settings settings;
  settings.file = path;
  std::ifstream in(path, std::ios::binary);
  if (in) {
    std::ostringstream text;
    text << in.rdbuf();
    parse_settings(text.str(), settings, errors);
  } else if (errno != ENOENT) {
    errors << path << ": cannot read the settings file (" << std::strerror(errno)
           << "); defaults used\n";
  }
  apply_environment(settings, errors);
  return settings;
}

}  // namespace kvr
