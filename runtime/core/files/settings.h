// The runtime's settings: kvr.ini read once at KvBegin, then the KVR_*
// environment variables, which win over the file.
#ifndef KVR_CORE_SETTINGS_H
#define KVR_CORE_SETTINGS_H

#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "commands.h"
#include "house_views.h"

namespace kvr {

struct Settings {
  enum class Backend { Window, Headless };
  enum class TraceStates { Changes, Full };
  enum class WindowMode { Fit, Windowed, Fullscreen };

  std::string file = "kvr.ini";  // where they were read from, for messages

  // [runtime]
  Backend backend = Backend::Window;                // backend, KVR_BACKEND
  std::string trace;                                // trace, KVR_TRACE
  TraceStates trace_states = TraceStates::Changes;  // trace_states, KVR_TRACE_STATES

  // [headless]
  std::string input;                   // input, KVR_INPUT: pointer script
  std::string png_dir;                 // png_dir: where scene pictures go ("" = none)
  std::vector<std::string> png_after;  // png_after: actions after which a picture is written
  int png_width = 800;                 // png_width, png_height: picture size in pixels
  int png_height = 600;
  // commands: runtime commands run after chosen KvExec calls
  std::vector<ScheduledCommand> commands;

  // [window]
  WindowMode window_mode = WindowMode::Fit;  // mode: fit | windowed | fullscreen
  int window_width = 800;                    // width, height: for mode = windowed
  int window_height = 600;
  std::string window_title = "Maison";  // title
  std::string screenshot_dir = ".";     // screenshots: where F12 and reports write
  std::string record;                   // record, KVR_RECORD: pointer recording ("" = none)

  // [house]
  int indoor_humidity = 50;  // humidity: indoor relative humidity in %, 30 to 80 by 5

  // [view]
  Palette palette = Palette::Standard;  // palette: standard | cividis
};

// Reads `path` (a missing file means all defaults), then applies the
// environment overrides. Unknown keys and unreadable values are reported on
// `errors` as "FILE:LINE: key: problem" and leave the default in place.
Settings load_settings(const std::string& path, std::ostream& errors);

// The two halves of load_settings, apart so that tests and the fuzzer can
// feed text without a file. parse_settings reads INI text into `settings`
// (its `file` names the text in messages); apply_environment applies the
// KVR_* variables that are set, reporting unreadable values by variable name.
void parse_settings(std::string_view text, Settings& settings, std::ostream& errors);
void apply_environment(Settings& settings, std::ostream& errors);

}  // namespace kvr

#endif
