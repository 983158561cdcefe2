// The six operations as the program calls them, through the shared library,
// with small scenes and scripts in a scratch folder.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>

#include "kvrrun.h"

namespace {

namespace fs = std::filesystem;
using nlohmann::json;

const char* const small_scene = R"({
  "format": "kvr-scene", "version": 1,
  "objects": [
    {"name": "HOME", "variables": [["A1", "text"], ["TALFENT", "switch"]]},
    {"name": "HOMBASE", "variables": [["TALFENT", "switch"]]}
  ],
  "flags": ["intro"],
  "actions": [{"name": "INHOME"}, {"name": "HOME"}, {"name": "BANDO", "set": ["intro"]}],
  "elements": []
})";

// Every test runs in its own folder, which is the runtime's current folder.
class Api : public ::testing::Test {
 protected:
  void SetUp() override {
    old_ = fs::current_path();
    dir_ = fs::temp_directory_path() /
           ("kvr-api-" + std::to_string(getpid()) + "-" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir_);
    fs::create_directories(dir_);
    fs::current_path(dir_);
    for (const char* name : {"KVR_BACKEND", "KVR_INPUT", "KVR_TRACE", "KVR_TRACE_STATES"})
      unsetenv(name);
    setenv("KVR_BACKEND", "headless", 1);
    setenv("KVR_TRACE", "trace.jsonl", 1);
    write("HOME.SP1", small_scene);
  }
  void TearDown() override {
    fs::current_path(old_);
    fs::remove_all(dir_);
  }
  static void write(const std::string& name, const std::string& text) {
    std::ofstream(name, std::ios::binary) << text;
  }
  static std::vector<json> trace() {
    std::vector<json> lines;
    std::ifstream in("trace.jsonl");
    for (std::string line; std::getline(in, line);) lines.push_back(json::parse(line));
    return lines;
  }
  static std::vector<json> execs() {
    std::vector<json> out;
    for (json& line : trace())
      if (line["event"] == "exec") out.push_back(line);
    return out;
  }
  // One frame of the program: a poll, then "HOME" twice; the second result.
  static int frame(std::int32_t* x, std::int32_t* y, std::int32_t* b) {
    KvMouse(-1, x, y, b);
    KvExec("HOME");
    return KvExec("HOME");
  }

  fs::path old_, dir_;
};

TEST_F(Api, ScriptOfThreeIdleStatesRunsExactlyThreeFrames) {
  write("s.txt", "10 20 0\n11 21 0 *2\n");
  setenv("KVR_INPUT", "s.txt", 1);
  KvBegin(0);
  KvLoad("HOME.SP1");
  EXPECT_EQ(KvExec("INHOME"), 0);
  std::int32_t x = 0, y = 0, b = 0;
  int frames = 0;
  std::vector<int> firsts;
  do {
    ++frames;
    KvMouse(-1, &x, &y, &b);
    firsts.push_back(KvExec("HOME"));
  } while (KvExec("HOME") == 0 && frames < 10);
  EXPECT_EQ(frames, 3);
  EXPECT_EQ(firsts, (std::vector<int>{0, 0, 1}));  // both calls of the last frame return 1
  EXPECT_EQ(x, 11);
  EXPECT_EQ(y, 21);
  KvEnd();
  auto e = execs();
  ASSERT_EQ(e.size(), 7U);
  EXPECT_EQ(e[0]["polls"], 0);
  EXPECT_EQ(e[1]["polls"], 1);
  EXPECT_EQ(e[2]["polls"], 0);
  EXPECT_EQ(e[6]["result"], 1);
  EXPECT_EQ(trace().back(), json::parse(R"({"event":"end"})"));
}

TEST_F(Api, AfterTheScriptThePointerStaysWithButtonsReleased) {
  write("s.txt", "5 6 1\n");
  setenv("KVR_INPUT", "s.txt", 1);
  KvBegin(0);
  KvLoad("HOME.SP1");
  std::int32_t x = 0, y = 0, b = 0;
  KvMouse(-1, &x, &y, &b);
  EXPECT_EQ(b, 1);
  KvMouse(-1, &x, &y, &b);
  EXPECT_EQ(x, 5);
  EXPECT_EQ(y, 6);
  EXPECT_EQ(b, 0);
  EXPECT_EQ(KvExec("HOME"), 1);
  EXPECT_EQ(KvExec("BANDO"), 0);  // only "HOME" asks for the end
  KvEnd();
}

TEST_F(Api, NoScriptMeansUsedUpFromTheStart) {
  KvBegin(0);
  KvLoad("HOME.SP1");
  EXPECT_EQ(KvExec("INHOME"), 0);
  std::int32_t x = -1, y = -1, b = -1;
  EXPECT_EQ(frame(&x, &y, &b), 1);
  EXPECT_EQ(x, 0);
  EXPECT_EQ(y, 0);
  EXPECT_EQ(b, 0);
  KvEnd();
}

TEST_F(Api, TraceFollowsTheCallsAndTheRecords) {
  write("s.txt", "0 0 0 *5\n");
  setenv("KVR_INPUT", "s.txt", 1);
  std::array<unsigned char, 80> a1{};
  a1.fill(0x5A);  // sentinel bytes behind the text
  a1[0] = 0;
  a1[1] = 0;
  float talfent[2] = {1.0f, 1.0f};
  KvBegin(0);
  KvLoad("HOME.SP1");
  KvLink("HOME", "A1", a1.data());
  KvLink("HOME", "TALFENT", talfent);
  KvLink("HOMBASE", "TALFENT", talfent);
  KvLink("HOME", "MISSING", talfent);
  KvExec("INHOME");
  std::int32_t x, y, b;
  frame(&x, &y, &b);
  talfent[0] = 3.0f;
  std::memcpy(a1.data(),
              "\x03"
              "abc",
              5);
  frame(&x, &y, &b);
  KvEnd();
  auto t = trace();
  ASSERT_GE(t.size(), 7U);
  EXPECT_EQ(t[0], json::parse(R"({"event":"begin","arg":0})"));
  EXPECT_EQ(t[1], json::parse(R"({"event":"load","file":"HOME.SP1","ok":true})"));
  EXPECT_EQ(t[2]["record"], 0);
  EXPECT_EQ(t[3]["record"], 1);
  EXPECT_EQ(t[4]["record"], 1);  // the same record under HOMBASE
  EXPECT_FALSE(t[4].contains("known"));
  EXPECT_EQ(t[5]["known"], false);
  EXPECT_EQ(t[5]["record"], 1);
  auto e = execs();
  ASSERT_EQ(e.size(), 5U);
  EXPECT_EQ(e[0]["action"], "INHOME");
  EXPECT_EQ(e[0]["state"], json::parse(R"({"HOME.A1":"","HOME.TALFENT":[1,1],
                                           "HOMBASE.TALFENT":[1,1]})"));
  EXPECT_EQ(e[1]["state"], json::object());
  EXPECT_EQ(e[3]["state"], json::parse(R"({"HOME.A1":"abc","HOME.TALFENT":[3,1],
                                           "HOMBASE.TALFENT":[3,1]})"));
  EXPECT_EQ(e[4]["state"], json::object());
}

TEST_F(Api, FullTraceStatesRepeatEveryBinding) {
  setenv("KVR_TRACE_STATES", "full", 1);
  std::int32_t rec[2] = {1, 1};
  KvBegin(0);
  KvLoad("HOME.SP1");
  KvLink("HOME", "TALFENT", rec);
  KvExec("INHOME");
  KvExec("HOME");
  KvEnd();
  auto e = execs();
  ASSERT_EQ(e.size(), 2U);
  EXPECT_EQ(e[1]["state"].size(), 1U);
}

TEST_F(Api, UndeclaredLinkAndActionAreReportedAndTheRunGoesOn) {
  std::int32_t rec = 0;
  ::testing::internal::CaptureStderr();
  KvBegin(0);
  KvLoad("HOME.SP1");
  KvLink("HOME", "GHOST", &rec);
  EXPECT_EQ(KvExec("NOSUCH"), 0);
  EXPECT_EQ(KvExec("NOSUCH"), 0);
  KvEnd();
  std::string err = ::testing::internal::GetCapturedStderr();
  EXPECT_NE(err.find("KvLink(HOME, GHOST)"), std::string::npos) << err;
  auto first = err.find("no action \"NOSUCH\"");
  EXPECT_NE(first, std::string::npos) << err;
  EXPECT_EQ(err.find("no action \"NOSUCH\"", first + 1), std::string::npos) << "reported twice";
}

TEST_F(Api, LinkBeforeLoadIsReportedAndKeptUnknown) {
  std::int32_t rec = 0;
  ::testing::internal::CaptureStderr();
  KvBegin(0);
  KvLink("HOME", "A1", &rec);
  KvEnd();
  std::string err = ::testing::internal::GetCapturedStderr();
  EXPECT_NE(err.find("KvLink(HOME, A1) before KvLoad"), std::string::npos) << err;
  auto t = trace();
  ASSERT_GE(t.size(), 2U);
  EXPECT_EQ(t[1]["known"], false);
}

TEST_F(Api, FailedLoadEndsTheRunAtTheFirstHome) {
  write("s.txt", "0 0 0 *100\n");
  setenv("KVR_INPUT", "s.txt", 1);
  write("BAD.SP1", "{\n  \"format\": \"kvr-scene\",\n  oops\n}\n");
  ::testing::internal::CaptureStderr();
  KvBegin(0);
  KvLoad("BAD.SP1");
  EXPECT_EQ(KvExec("INHOME"), 0);
  std::int32_t x, y, b;
  KvMouse(-1, &x, &y, &b);
  EXPECT_EQ(KvExec("HOME"), 1);
  EXPECT_EQ(KvExec("HOME"), 1);
  KvEnd();
  std::string err = ::testing::internal::GetCapturedStderr();
  EXPECT_EQ(err.rfind("BAD.SP1: parse error at line 3", 0), 0U) << err;
  auto t = trace();
  EXPECT_EQ(t[1]["ok"], false);
  EXPECT_NE(t[1]["error"].get<std::string>().find("line 3"), std::string::npos);
}

TEST_F(Api, SettingsFileIsReadFromTheCurrentFolder) {
  unsetenv("KVR_TRACE");
  write("kvr.ini", "[runtime]\nbackend = headless\ntrace = from-ini.jsonl\n");
  KvBegin(7);
  KvEnd();
  std::ifstream in("from-ini.jsonl");
  std::string first;
  std::getline(in, first);
  EXPECT_EQ(json::parse(first), json::parse(R"({"event":"begin","arg":7})"));
}

TEST_F(Api, CallsBeforeKvBeginAreHarmless) {
  std::int32_t x = 9, y = 9, b = 9;
  ::testing::internal::CaptureStderr();
  EXPECT_EQ(KvExec("HOME"), 0);
  KvMouse(-1, &x, &y, &b);
  EXPECT_EQ(KvEnd(), -1);
  std::string err = ::testing::internal::GetCapturedStderr();
  EXPECT_EQ(b, 0);
  EXPECT_NE(err.find("before KvBegin"), std::string::npos);
}

TEST_F(Api, TheHouseIsKeptReadOnlyWithoutATraceLineAndAnUnknownViewIsIgnored) {
  KvrHouseState state;
  std::memset(&state, 0x5A, sizeof state);
  const KvrHouseState before = state;
  KvrHousePhysics physics{KVR_HOUSE_VERSION, sizeof physics, nullptr, nullptr, nullptr, nullptr, 0};
  const KvrHouse view{KVR_HOUSE_VERSION, sizeof view, &state, &physics};
  KvrHouse future = view;
  future.version = KVR_HOUSE_VERSION + 1;
  EXPECT_EQ(KvHouse(&view), -1);  // before KvBegin
  std::array<unsigned char, 80> a1{};
  write("s.txt", "0 0 0 *2\n");
  setenv("KVR_INPUT", "s.txt", 1);
  KvBegin(0);
  KvLoad("HOME.SP1");
  KvLink("HOME", "A1", a1.data());
  ::testing::internal::CaptureStderr();
  EXPECT_EQ(KvHouse(&view), 0);
  EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
  ::testing::internal::CaptureStderr();
  KvHouse(nullptr);
  KvHouse(&future);
  const std::string err = ::testing::internal::GetCapturedStderr();
  EXPECT_NE(err.find("KvHouse with a view this runtime does not know"), std::string::npos);
  KvExec("INHOME");
  std::int32_t x, y, b;
  frame(&x, &y, &b);
  KvEnd();
  std::vector<std::string> events;
  for (const json& line : trace()) events.push_back(line["event"]);
  EXPECT_EQ(events,
            (std::vector<std::string>{"begin", "load", "link", "exec", "exec", "exec", "end"}));
  EXPECT_EQ(std::memcmp(&state, &before, sizeof state), 0);
}

#ifdef KVR_HAVE_RENDER
TEST_F(Api, PicturesAreWrittenAfterTheChosenActionsOnly) {
  fs::create_directories("pics");
  write("kvr.ini",
        "[headless]\npng_dir = pics\npng_after = BANDO, NOSUCH\npng_width = 80\n"
        "png_height = 60\n");
  KvBegin(0);
  KvLoad("HOME.SP1");
  KvExec("INHOME");
  KvExec("BANDO");
  KvExec("HOME");
  KvExec("BANDO");
  KvEnd();
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator("pics"))
    names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"0002-BANDO.png", "0004-BANDO.png"}));
  std::ifstream png("pics/0002-BANDO.png", std::ios::binary);
  char magic[8] = {};
  png.read(magic, 8);
  EXPECT_EQ(std::string(magic + 1, 3), "PNG");
}

TEST_F(Api, HeadlessCommandsRunAfterTheirCallsAndWriteReports) {
  fs::copy_file(MAISON_DATA_DIR "/HOME.SP1", "HOME.SP1", fs::copy_options::overwrite_existing);
  fs::create_directories("out");
  write("kvr.ini",
        "[headless]\ncommands = 1:report, 2:reference, 3:report\n[window]\nscreenshots = out\n");
  ::testing::internal::CaptureStderr();
  KvBegin(0);
  KvLoad("HOME.SP1");
  KvExec("INHOME");
  KvExec("HOME");
  KvExec("HOME");
  KvEnd();
  std::string err = ::testing::internal::GetCapturedStderr();
  std::vector<std::string> csv;
  for (const auto& entry : fs::directory_iterator("out"))
    if (entry.path().extension() == ".csv") csv.push_back(entry.path().string());
  std::sort(csv.begin(), csv.end());
  ASSERT_EQ(csv.size(), 2u) << err;
  EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 4) << err;  // "report: PATH" per file
  auto header = [](const std::string& path) {
    std::ifstream in(path);
    std::string line;
    std::getline(in, line);
    return line;
  };
  // The second report (named -2 within the same second, else stamped
  // later) follows the pin: its table has the reference columns.
  if (csv[0].find("-2.csv") != std::string::npos) std::swap(csv[0], csv[1]);
  std::string before = header(csv[0]), after = header(csv[1]);
  EXPECT_EQ(std::count(before.begin(), before.end(), ','), 7) << before;
  EXPECT_EQ(before.find("référence"), std::string::npos);
  EXPECT_EQ(std::count(after.begin(), after.end(), ','), 14) << after;
  EXPECT_NE(after.find("référence U"), std::string::npos);
}
#endif

TEST_F(Api, AMalformedCommandListIsReportedAndTheRunGoesOn) {
  write("kvr.ini", "[headless]\ncommands = 2:nothing\n");
  ::testing::internal::CaptureStderr();
  KvBegin(0);
  KvLoad("HOME.SP1");
  EXPECT_EQ(KvExec("HOME"), 1);
  KvEnd();
  std::string err = ::testing::internal::GetCapturedStderr();
  EXPECT_NE(err.find("kvr.ini:2: commands: unknown command \"nothing\""), std::string::npos) << err;
}

using ApiDeathTest = Api;

TEST_F(ApiDeathTest, MalformedScriptEndsTheProcessAtKvBeginWithStatus2) {
  write("bad.txt", "1 2 0\n\n3 4 five\n");
  setenv("KVR_INPUT", "bad.txt", 1);
  EXPECT_EXIT(KvBegin(0), ::testing::ExitedWithCode(2),
              "(^|\n)bad.txt:3: BUTTONS is not a decimal integer\n");
}

TEST_F(ApiDeathTest, MissingScriptEndsTheProcessWithStatus2) {
  setenv("KVR_INPUT", "absent.txt", 1);
  EXPECT_EXIT(KvBegin(0), ::testing::ExitedWithCode(2), "(^|\n)absent.txt: cannot open");
}

TEST_F(ApiDeathTest, ScriptEndingInsideAWaitEndsWithStatus3AndAFlushedTrace) {
  write("s.txt", "1 1 1\n");
  setenv("KVR_INPUT", "s.txt", 1);
  auto stuck = [] {
    KvBegin(0);
    KvLoad("HOME.SP1");
    KvExec("INHOME");
    std::int32_t x, y, b;
    KvMouse(-1, &x, &y, &b);
    KvExec("BANDO");  // not "HOME": the wait goes on
    for (;;) KvMouse(-1, &x, &y, &b);
  };
  EXPECT_EXIT(stuck(), ::testing::ExitedWithCode(3),
              "(^|\n)s.txt: pointer script ended inside a wait or modal view\n");
  auto t = trace();
  ASSERT_FALSE(t.empty());
  EXPECT_NE(t.back()["event"], "end");
  EXPECT_EQ(t.back()["action"], "BANDO");
}

TEST_F(ApiDeathTest, TheStallCountRestartsAtEachHome) {
  setenv("KVR_INPUT", "s.txt", 1);
  write("s.txt", "1 1 0\n");
  auto run = [] {
    KvBegin(0);
    KvLoad("HOME.SP1");
    std::int32_t x, y, b;
    for (int round = 0; round < 3; ++round) {
      for (int i = 0; i < 9999; ++i) KvMouse(-1, &x, &y, &b);
      KvExec("HOME");
    }
    KvEnd();
    std::exit(0);
  };
  EXPECT_EXIT(run(), ::testing::ExitedWithCode(0), "");
  auto stop = [] {
    KvBegin(0);
    KvLoad("HOME.SP1");
    std::int32_t x, y, b;
    KvMouse(-1, &x, &y, &b);  // returns the last state: not yet after the end
    for (int i = 0; i < 9999; ++i) KvMouse(-1, &x, &y, &b);
    std::exit(0);
  };
  EXPECT_EXIT(stop(), ::testing::ExitedWithCode(0), "");
  auto over = [] {
    KvBegin(0);
    KvLoad("HOME.SP1");
    std::int32_t x, y, b;
    for (int i = 0; i < 10001; ++i) KvMouse(-1, &x, &y, &b);
    std::exit(0);
  };
  EXPECT_EXIT(over(), ::testing::ExitedWithCode(3), "ended inside a wait");
}

}  // namespace
