#include "harness.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <thread>

namespace e2e {

namespace {

fs::path scratch_root() {
  const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
  std::string name = std::string(test->test_suite_name()) + "-" + test->name();
  for (char& c : name)
    if (c == '/') c = '_';
  return fs::temp_directory_path() / ("maison-e2e-" + std::to_string(getpid())) / name;
}

}  // namespace

std::string read_file(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

fs::path scene_file() {
  fs::path shipped = fs::path(MAISON_BIN_DIR) / "HOME.SP1";
  if (fs::exists(shipped)) return shipped;
  return fs::path(E2E_DATA_DIR) / "declarations.sp1";
}

Run run_maison(const Options& options) {
  Run run;
  run.root = scratch_root();
  run.app = run.root / "app";
  fs::remove_all(run.root);
  fs::create_directories(run.app);
  if (options.with_scene) fs::copy_file(scene_file(), run.app / "HOME.SP1");
  for (const char* ini : {"kvr.ini", "kvrbdo.ini", "kvrnu.ini"})
    fs::copy_file(fs::path(MAISON_DATA_DIR) / ini, run.app / ini);
  std::ofstream(run.app / "script.txt", std::ios::binary) << options.script;
  {
    std::ofstream stand_in(run.root / "onglets.exe");
    stand_in << "#!/bin/sh\necho \"$1\" > handover.tmp && mv handover.tmp handover.txt\n";
  }
  fs::permissions(run.root / "onglets.exe", fs::perms::owner_all, fs::perm_options::add);

  pid_t child = fork();
  if (child == 0) {
    if (chdir(run.app.c_str()) != 0) _exit(126);
    int err = open("stderr.txt", O_WRONLY | O_CREAT | O_TRUNC, 0644);
    int null = open("/dev/null", O_WRONLY);
    dup2(err, 2);
    dup2(null, 1);
    setenv("KVR_BACKEND", "headless", 1);
    setenv("KVR_TRACE", "trace.jsonl", 1);
    setenv("KVR_TRACE_STATES", options.trace_states.c_str(), 1);
    if (options.with_script) {
      setenv("KVR_INPUT", "script.txt", 1);
    } else {
      unsetenv("KVR_INPUT");
    }
    // MAISON_E2E_PROGRAM runs another build of the program on the same
    // scenarios (the WebAssembly one under Node.js: tests/web/).
    const char* program = std::getenv("MAISON_E2E_PROGRAM");
    if (program == nullptr || *program == '\0') program = MAISON_BINARY;
    if (!options.code.empty()) {
      execl(program, program, options.code.c_str(), static_cast<char*>(nullptr));
    } else {
      execl(program, program, static_cast<char*>(nullptr));
    }
    _exit(127);
  }
  int status = 0;
  waitpid(child, &status, 0);
  run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  run.stderr_text = read_file(run.app / "stderr.txt");
  std::ifstream trace(run.app / "trace.jsonl");
  for (std::string line; std::getline(trace, line);) run.trace.push_back(json::parse(line));

  // The hand-over is detached: give the stand-in a moment to write.
  if (fs::exists(run.root / "onglets.exe")) {
    for (int i = 0; i < 100 && !fs::exists(run.root / "handover.txt"); ++i)
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    if (fs::exists(run.root / "handover.txt")) {
      std::string code = read_file(run.root / "handover.txt");
      while (!code.empty() && (code.back() == '\n' || code.back() == '\r')) code.pop_back();
      run.handover = code;
    }
  }
  return run;
}

std::vector<json> Run::execs() const {
  std::vector<json> out;
  for (const json& line : trace)
    if (line.value("event", "") == "exec") out.push_back(line);
  return out;
}

std::vector<std::string> Run::actions() const {
  std::vector<std::string> out;
  for (const json& line : execs())
    if (line["action"] != "HOME") out.push_back(line["action"].get<std::string>());
  return out;
}

std::size_t Run::count(const std::string& action) const {
  std::size_t n = 0;
  for (const json& line : execs()) n += line["action"] == action ? 1U : 0U;
  return n;
}

std::map<std::string, json> Run::state_after(std::size_t exec_index) const {
  std::map<std::string, json> state;
  auto lines = execs();
  for (std::size_t i = 0; i < lines.size() && i <= exec_index; ++i)
    for (const auto& [key, value] : lines[i]["state"].items()) state[key] = value;
  return state;
}

std::map<std::string, json> Run::final_state() const {
  return state_after(SIZE_MAX);
}

std::string text(const json& value) {
  return value.is_string() ? value.get<std::string>() : "";
}

}  // namespace e2e
