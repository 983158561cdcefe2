// kvr.ini: keys, values, messages with file and line, environment overrides.
#include "settings.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace {

using kvr::Settings;

Settings parse(const std::string& text, std::string& messages) {
  Settings s;
  s.file = "kvr.ini";
  std::ostringstream errors;
  kvr::parse_settings(text, s, errors);
  messages = errors.str();
  return s;
}

// Clears the KVR_* variables for the duration of a test.
class SettingsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char* name : {"KVR_BACKEND", "KVR_INPUT", "KVR_TRACE", "KVR_TRACE_STATES"})
      unsetenv(name);
  }
  void TearDown() override { SetUp(); }
};

TEST_F(SettingsTest, EveryKeyIsRead) {
  std::string messages;
  Settings s = parse(
      "; comment\n# another\n"
      "[runtime]\nbackend = headless\ntrace = out/t.jsonl\ntrace_states = full\n"
      "[headless]\ninput = click.txt\npng_dir = pics\npng_after = HOME, DECDROIT ,MENUVISU\n"
      "png_width = 400\npng_height = 300\n"
      "[window]\nmode = windowed\nwidth = 1024\nheight = 768\ntitle = Ma maison\n"
      "screenshots = shots\n[view]\npalette = cividis\n",
      messages);
  EXPECT_EQ(messages, "");
  EXPECT_EQ(s.palette, kvr::Palette::Cividis);
  EXPECT_EQ(s.backend, Settings::Backend::Headless);
  EXPECT_EQ(s.trace, "out/t.jsonl");
  EXPECT_EQ(s.trace_states, Settings::TraceStates::Full);
  EXPECT_EQ(s.input, "click.txt");
  EXPECT_EQ(s.png_dir, "pics");
  EXPECT_EQ(s.png_after, (std::vector<std::string>{"HOME", "DECDROIT", "MENUVISU"}));
  EXPECT_EQ(s.png_width, 400);
  EXPECT_EQ(s.png_height, 300);
  EXPECT_EQ(s.window_mode, Settings::WindowMode::Windowed);
  EXPECT_EQ(s.window_width, 1024);
  EXPECT_EQ(s.window_height, 768);
  EXPECT_EQ(s.window_title, "Ma maison");
  EXPECT_EQ(s.screenshot_dir, "shots");
}

TEST_F(SettingsTest, EmptyTextGivesTheContractDefaults) {
  std::string messages;
  Settings s = parse("", messages);
  EXPECT_EQ(messages, "");
  EXPECT_EQ(s.backend, Settings::Backend::Window);
  EXPECT_EQ(s.trace, "");
  EXPECT_EQ(s.trace_states, Settings::TraceStates::Changes);
  EXPECT_EQ(s.input, "");
  EXPECT_EQ(s.window_mode, Settings::WindowMode::Fit);
}

TEST_F(SettingsTest, UnknownKeyIsReportedWithItsLineAndOthersStillApply) {
  std::string messages;
  Settings s = parse("[runtime]\n\n; note\nbakend = headless\ntrace_states = full\n", messages);
  EXPECT_EQ(messages, "kvr.ini:4: bakend: unknown key in [runtime]\n");
  EXPECT_EQ(s.backend, Settings::Backend::Window);
  EXPECT_EQ(s.trace_states, Settings::TraceStates::Full);
}

TEST_F(SettingsTest, KeyInTheWrongSectionOrAnUnknownSectionIsReported) {
  std::string messages;
  Settings s = parse("[window]\nbackend = headless\n[extra]\nx = 1\n", messages);
  EXPECT_EQ(messages,
            "kvr.ini:2: backend: unknown key in [window]\n"
            "kvr.ini:4: x: unknown section [extra]\n");
  EXPECT_EQ(s.backend, Settings::Backend::Window);
}

TEST_F(SettingsTest, UnreadableValuesKeepTheirDefaults) {
  std::string messages;
  Settings s = parse(
      "[runtime]\nbackend = sdl\ntrace_states = some\n[headless]\npng_width = 12x\n"
      "png_height = 0\npng_after = HOME,,BANDO\n[window]\nmode = big\nwidth = 99\n"
      "height = 20000\n[view]\npalette = daltonien\n",
      messages);
  EXPECT_EQ(s.palette, kvr::Palette::Standard);
  EXPECT_EQ(s.backend, Settings::Backend::Window);
  EXPECT_EQ(s.trace_states, Settings::TraceStates::Changes);
  EXPECT_EQ(s.png_width, 800);
  EXPECT_EQ(s.png_height, 600);
  EXPECT_TRUE(s.png_after.empty());
  EXPECT_EQ(s.window_mode, Settings::WindowMode::Fit);
  EXPECT_EQ(s.window_width, 800);
  EXPECT_EQ(s.window_height, 600);
  for (const char* expected :
       {"kvr.ini:2: backend:", "kvr.ini:3: trace_states:", "kvr.ini:5: png_width:",
        "kvr.ini:6: png_height:", "kvr.ini:7: png_after:", "kvr.ini:9: mode:", "kvr.ini:10: width:",
        "kvr.ini:11: height:", "kvr.ini:13: palette:"}) {
    EXPECT_NE(messages.find(expected), std::string::npos) << expected << "\n" << messages;
  }
}

TEST_F(SettingsTest, SyntaxErrorsAndOverlongLinesNameTheirLine) {
  std::string messages;
  Settings s = parse("[runtime]\nthis is not a setting\nbackend = headless\n" +
                         std::string("trace = ") + std::string(300, 'x') + "\n",
                     messages);
  EXPECT_NE(messages.find("kvr.ini:2: not a [section] or key = value line"), std::string::npos)
      << messages;
  EXPECT_NE(messages.find("kvr.ini:4: line longer than"), std::string::npos) << messages;
  EXPECT_EQ(s.backend, Settings::Backend::Headless);
  EXPECT_EQ(s.trace, "");
}

TEST_F(SettingsTest, LineNumbersSurviveCrLfAndAMissingLastNewline) {
  std::string messages;
  parse("[runtime]\r\n\r\nnope = 1\r\n[window]\nmode = x", messages);
  EXPECT_EQ(messages,
            "kvr.ini:3: nope: unknown key in [runtime]\n"
            "kvr.ini:5: mode: \"x\" is not fit, windowed or fullscreen\n");
}

TEST_F(SettingsTest, EnvironmentWinsOverTheFile) {
  auto dir = std::filesystem::temp_directory_path() / "kvr-settings-test";
  std::filesystem::create_directories(dir);
  auto path = (dir / "kvr.ini").string();
  std::ofstream(path) << "[runtime]\nbackend = window\ntrace = file.jsonl\ntrace_states = full\n"
                         "[headless]\ninput = file.txt\n";
  setenv("KVR_BACKEND", "headless", 1);
  setenv("KVR_INPUT", "env.txt", 1);
  setenv("KVR_TRACE", "env.jsonl", 1);
  setenv("KVR_TRACE_STATES", "changes", 1);
  std::ostringstream errors;
  Settings s = kvr::load_settings(path, errors);
  EXPECT_EQ(errors.str(), "");
  EXPECT_EQ(s.backend, Settings::Backend::Headless);
  EXPECT_EQ(s.input, "env.txt");
  EXPECT_EQ(s.trace, "env.jsonl");
  EXPECT_EQ(s.trace_states, Settings::TraceStates::Changes);
  std::filesystem::remove_all(dir);
}

TEST_F(SettingsTest, BadEnvironmentValueIsReportedAndTheFileValueKept) {
  Settings s;
  s.trace_states = Settings::TraceStates::Full;
  setenv("KVR_TRACE_STATES", "sometimes", 1);
  setenv("KVR_BACKEND", "", 1);
  std::ostringstream errors;
  kvr::apply_environment(s, errors);
  EXPECT_EQ(s.trace_states, Settings::TraceStates::Full);
  EXPECT_EQ(s.backend, Settings::Backend::Window);
  EXPECT_NE(errors.str().find("KVR_TRACE_STATES: \"sometimes\""), std::string::npos);
  EXPECT_NE(errors.str().find("KVR_BACKEND:"), std::string::npos);
}

TEST_F(SettingsTest, MissingFileMeansDefaultsWithoutAMessage) {
  std::ostringstream errors;
  Settings s = kvr::load_settings("/nonexistent-dir/kvr.ini", errors);
  EXPECT_EQ(errors.str(), "");
  EXPECT_EQ(s.backend, Settings::Backend::Window);
  EXPECT_EQ(s.file, "/nonexistent-dir/kvr.ini");
}

}  // namespace

namespace {

// The three shipped files: complete, free of messages, and each with its
// own window mode.
TEST_F(SettingsTest, ShippedFilesReadCleanlyAndDiffer) {
  struct Expected {
    const char* file;
    Settings::WindowMode mode;
  };
  for (auto [file, mode] : {Expected{"kvr.ini", Settings::WindowMode::Fit},
                            Expected{"kvrbdo.ini", Settings::WindowMode::Windowed},
                            Expected{"kvrnu.ini", Settings::WindowMode::Fullscreen}}) {
    std::ostringstream errors;
    Settings s = kvr::load_settings(std::string(MAISON_DATA_DIR) + "/" + file, errors);
    EXPECT_EQ(errors.str(), "") << file;
    EXPECT_EQ(s.window_mode, mode) << file;
    EXPECT_EQ(s.backend, Settings::Backend::Window) << file;
    EXPECT_EQ(s.trace, "") << file;
    EXPECT_EQ(s.input, "") << file;
    EXPECT_EQ(s.window_width, 800) << file;
    EXPECT_EQ(s.window_height, 600) << file;
  }
}

}  // namespace
