// Every folder of tests/scenarios/ is one run of maison: script.txt is the
// pointer script, expect.json what the trace, the exit status, standard
// error and the hand-over must show. Keys of expect.json:
//   code        launch code argument (none: no argument)
//   exit        exit status (default 0)
//   handover    code onglets.exe must receive
//   no_handover true: onglets.exe must not run
//   actions     every action but "HOME", exactly, in order
//   count       {"ACTION": n}: how often an action was played
//   state       {"OBJECT.VARIABLE": value}: values after the last action
//   stderr      text standard error must contain
//   no_end      true: the trace has no end line
// A scenario may also hold trace.jsonl, the whole expected trace. A run that
// differs fails with the first differing lines as -expected/+actual and
// leaves its own trace in the scratch folder. MAISON_UPDATE_TRACES=1 rewrites
// the expected traces that exist; review the diff before committing it.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "harness.h"

namespace {

using e2e::json;
namespace fs = std::filesystem;

std::vector<std::string> scenario_names() {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(SCENARIO_DIR))
    if (fs::exists(entry.path() / "expect.json")) names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

std::vector<std::string> lines_of(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    lines.push_back(text.substr(start, end - start));
    start = end + 1;
  }
  return lines;
}

void compare_trace(const fs::path& expected_path, const e2e::Run& run) {
  std::string actual = e2e::read_file(run.app / "trace.jsonl");
  const char* update = std::getenv("MAISON_UPDATE_TRACES");
  if (update != nullptr && std::string(update) == "1") {
    std::ofstream(expected_path, std::ios::binary) << actual;
    return;
  }
  auto want = lines_of(e2e::read_file(expected_path));
  auto got = lines_of(actual);
  std::ostringstream diff;
  int shown = 0;
  for (std::size_t i = 0; i < std::max(want.size(), got.size()) && shown < 5; ++i) {
    const std::string none = "(no line)";
    const std::string& w = i < want.size() ? want[i] : none;
    const std::string& g = i < got.size() ? got[i] : none;
    if (w == g) continue;
    diff << "line " << i + 1 << ":\n-" << w << "\n+" << g << "\n";
    ++shown;
  }
  EXPECT_EQ(shown, 0) << "trace differs from " << expected_path.string() << "\n"
                      << diff.str() << "actual trace: " << (run.app / "trace.jsonl").string();
}

class Scenario : public ::testing::TestWithParam<std::string> {};

TEST_P(Scenario, RunsAsExpected) {
  fs::path dir = fs::path(SCENARIO_DIR) / GetParam();
  json expect = json::parse(std::ifstream(dir / "expect.json"));
  e2e::Options options;
  options.script = e2e::read_file(dir / "script.txt");
  if (expect.contains("code")) options.code = expect["code"].get<std::string>();

  e2e::Run run = e2e::run_maison(options);
  SCOPED_TRACE("scratch folder: " + run.app.string() + "\nstderr:\n" + run.stderr_text);

  EXPECT_EQ(run.status, expect.value("exit", 0));
  if (expect.contains("handover")) {
    ASSERT_TRUE(run.handover.has_value()) << "onglets.exe did not run";
    EXPECT_EQ(*run.handover, expect["handover"].get<std::string>());
  }
  if (expect.value("no_handover", false)) {
    EXPECT_FALSE(run.handover.has_value());
  }
  if (expect.contains("actions")) {
    EXPECT_EQ(run.actions(), expect["actions"].get<std::vector<std::string>>());
  }
  if (expect.contains("count")) {
    for (const auto& [action, n] : expect["count"].items())
      EXPECT_EQ(run.count(action), n.get<std::size_t>()) << action;
  }
  if (expect.contains("state")) {
    auto state = run.final_state();
    for (const auto& [key, value] : expect["state"].items()) {
      ASSERT_TRUE(state.count(key)) << key << " never traced";
      EXPECT_EQ(state[key], value) << key;
    }
  }
  if (expect.contains("stderr")) {
    EXPECT_NE(run.stderr_text.find(expect["stderr"].get<std::string>()), std::string::npos);
  }
  ASSERT_FALSE(run.trace.empty());
  if (fs::exists(dir / "trace.jsonl")) compare_trace(dir / "trace.jsonl", run);
  if (expect.value("no_end", false)) {
    EXPECT_NE(run.trace.back()["event"], "end");
  } else {
    EXPECT_EQ(run.trace.back()["event"], "end");
  }
}

INSTANTIATE_TEST_SUITE_P(, Scenario, ::testing::ValuesIn(scenario_names()),
                         [](const ::testing::TestParamInfo<std::string>& param_info) {
                           std::string name = param_info.param;
                           for (char& c : name)
                             if (c == '-') c = '_';
                           return name;
                         });

}  // namespace
