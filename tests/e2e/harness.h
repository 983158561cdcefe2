// Runs the real maison binary with the headless runtime in a scratch folder
// laid out like an installation: ROOT/onglets.exe (a stand-in that records
// the code it receives) and ROOT/app/ with the scene and the settings.
#ifndef MAISON_TESTS_E2E_HARNESS_H
#define MAISON_TESTS_E2E_HARNESS_H

#include <filesystem>
#include <map>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <vector>

namespace e2e {

namespace fs = std::filesystem;
using nlohmann::json;

struct Options {
  std::string code;         // the launch code argument; empty: no argument
  std::string script;       // pointer script text
  bool with_scene = true;   // copy the scene into app/
  bool with_script = true;  // set KVR_INPUT
  std::string trace_states = "changes";
};

struct Run {
  int status = -1;  // exit status, or -1 when killed by a signal
  std::string stderr_text;
  std::vector<json> trace;  // every line
  fs::path root, app;
  std::optional<std::string> handover;  // what onglets.exe received, if it ran

  std::vector<json> execs() const;
  // Every action but "HOME", in the order played.
  std::vector<std::string> actions() const;
  std::size_t count(const std::string& action) const;
  // The value of every binding after the last exec line, from the changes.
  std::map<std::string, json> final_state() const;
  // The values after the n-th exec line (0-based).
  std::map<std::string, json> state_after(std::size_t exec_index) const;
};

// The scene the tests run with: the shipped HOME.SP1 when the build has one,
// otherwise the test scene with the same declarations.
fs::path scene_file();

Run run_maison(const Options& options);

std::string read_file(const fs::path& path);

// The text of a JSON value that should be a string; "" otherwise.
std::string text(const json& value);

}  // namespace e2e

#endif
