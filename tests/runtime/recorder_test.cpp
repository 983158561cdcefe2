// Recording: the runs of pointer states handed to the program, the script
// they are written as (read back by the pointer script reader), and when
// the runtime writes the file.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "pointer_recorder.h"
#include "pointer_script.h"
#include "runtime.h"

namespace {

namespace fs = std::filesystem;

std::vector<kvr::PointerRun> read_back(const std::string& text) {
  kvr::PointerScriptResult r = kvr::parse_pointer_script(text, "recording");
  EXPECT_TRUE(r.script) << r.error;
  return r.script ? r.script->runs : std::vector<kvr::PointerRun>{};
}

TEST(PointerRecorder, RepeatedStatesBecomeRunsThatReadBackAsTheSamePolls) {
  kvr::PointerRecorder rec;
  rec.start("unused.txt");
  rec.note("command line", "maison 1000");
  for (int i = 0; i < 3; ++i) rec.add(10, 20, 0);
  rec.add(10, 20, 1);
  rec.add(-5, 600, 1);
  rec.add(-5, 600, 0);
  rec.add(-5, 600, 0);
  ASSERT_EQ(rec.runs().size(), 4u);
  std::string text = rec.text(false);
  EXPECT_NE(text.find("# command line: maison 1000\n"), std::string::npos);
  EXPECT_NE(text.find("# polls: 7\n"), std::string::npos);
  std::vector<kvr::PointerRun> runs = read_back(text);
  ASSERT_EQ(runs.size(), 4u);
  EXPECT_EQ(runs[0].count, 3u);
  EXPECT_EQ(runs[1].buttons, 1);
  EXPECT_EQ(runs[2].x, -5);
  EXPECT_EQ(runs[2].y, 600);
  EXPECT_EQ(runs[3].count, 2u);
}

TEST(PointerRecorder, AnIdleStateFollowsWhenTheProgramEndedTheRunItself) {
  kvr::PointerRecorder rec;
  rec.start("unused.txt");
  rec.add(778, 579, 1);
  rec.add(778, 579, 0);
  std::vector<kvr::PointerRun> runs = read_back(rec.text(true));
  ASSERT_EQ(runs.size(), 3u);
  EXPECT_EQ(runs[2].x, 778);
  EXPECT_EQ(runs[2].buttons, 0);
  EXPECT_EQ(read_back(rec.text(false)).size(), 2u);
}

TEST(PointerRecorder, NothingIsKeptBeforeItStarts) {
  kvr::PointerRecorder rec;
  rec.add(1, 2, 0);
  EXPECT_FALSE(rec.active());
  EXPECT_TRUE(rec.runs().empty());
}

// A backend that hands out fixed states and ends (a closed window) when
// told to.
class FakeBackend final : public kvr::Backend {
 public:
  static bool* end_after_poll;
  bool open(const kvr::Settings&) override { return true; }
  void show(const kvr::FrameView&, int, std::string_view) override {}
  void poll(std::int32_t* x, std::int32_t* y, std::int32_t* b) override {
    *x = 100 + polls_;
    *y = 5;
    *b = polls_ % 2;
    ++polls_;
    if (end_after_poll != nullptr && *end_after_poll) ended_ = true;
  }
  bool wants_end() const override { return ended_; }
  double now() const override { return 0.0; }
  void close() override {}

 private:
  int polls_ = 0;
  bool ended_ = false;
};
bool* FakeBackend::end_after_poll = nullptr;

class RecordingRun : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() /
           ("kvr-rec-" + std::to_string(getpid()) + "-" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir_);
    fs::create_directories(dir_);
    for (const char* name : {"KVR_BACKEND", "KVR_INPUT", "KVR_TRACE", "KVR_RECORD"}) unsetenv(name);
    std::ofstream(dir_ / "kvr.ini") << "[window]\nrecord = " << (dir_ / "rec.txt").string() << "\n";
    FakeBackend::end_after_poll = &end_;
  }
  void TearDown() override {
    FakeBackend::end_after_poll = nullptr;
    fs::remove_all(dir_);
  }
  kvr::BackendFactories factories() {
    kvr::BackendFactories f;
    f.headless = [] { return std::unique_ptr<kvr::Backend>(std::make_unique<FakeBackend>()); };
    f.window = f.headless;
    return f;
  }
  std::string recording() const {
    std::ifstream in(dir_ / "rec.txt");
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
  }

  fs::path dir_;
  bool end_ = false;
};

TEST_F(RecordingRun, WrittenAtKvEndWithTheIdleStateOfAnEndByTheProgram) {
  std::ostringstream errors;
  kvr::Runtime rt(factories(), errors);
  rt.begin(0, (dir_ / "kvr.ini").string());
  std::int32_t x, y, b;
  rt.mouse(&x, &y, &b);
  rt.mouse(&x, &y, &b);
  EXPECT_FALSE(fs::exists(dir_ / "rec.txt"));  // nothing on disk before a flush point
  rt.end();
  std::vector<kvr::PointerRun> runs = read_back(recording());
  ASSERT_EQ(runs.size(), 3u);
  EXPECT_EQ(runs[0].x, 100);
  EXPECT_EQ(runs[1].buttons, 1);
  EXPECT_EQ(runs[2].x, 101);  // the idle state after, at the last position
  EXPECT_EQ(runs[2].buttons, 0);
  EXPECT_EQ(errors.str(), "");
}

TEST_F(RecordingRun, WrittenWhenTheBackendEndsAndAgainAtKvEndWithoutTheIdleState) {
  std::ostringstream errors;
  kvr::Runtime rt(factories(), errors);
  rt.begin(0, (dir_ / "kvr.ini").string());
  std::int32_t x, y, b;
  rt.mouse(&x, &y, &b);
  end_ = true;  // the window closes during the next poll
  rt.mouse(&x, &y, &b);
  ASSERT_TRUE(fs::exists(dir_ / "rec.txt"));
  EXPECT_EQ(read_back(recording()).size(), 2u);
  rt.mouse(&x, &y, &b);  // the polls that lead the program out are recorded too
  rt.end();
  std::vector<kvr::PointerRun> runs = read_back(recording());
  ASSERT_EQ(runs.size(), 3u);
  EXPECT_EQ(runs[2].x, 102);
}

TEST_F(RecordingRun, ARelativeNameStaysInTheFolderTheRunStartedIn) {
  // The program changes to the parent folder before KvEnd.
  fs::path old = fs::current_path();
  fs::create_directories(dir_ / "run");
  std::ofstream(dir_ / "run" / "kvr.ini") << "[window]\nrecord = rec.txt\n";
  fs::current_path(dir_ / "run");
  std::ostringstream errors;
  kvr::Runtime rt(factories(), errors);
  rt.begin(0, "kvr.ini");
  std::int32_t x, y, b;
  rt.mouse(&x, &y, &b);
  fs::current_path(dir_);
  rt.end();
  fs::current_path(old);
  EXPECT_TRUE(fs::exists(dir_ / "run" / "rec.txt"));
  EXPECT_FALSE(fs::exists(dir_ / "rec.txt"));
}

TEST_F(RecordingRun, AReplayDoesNotRecordOverItsOwnScript) {
  std::ofstream(dir_ / "rec.txt") << "1 2 0\n";
  std::ofstream(dir_ / "kvr.ini") << "[runtime]\nbackend = headless\n[headless]\ninput = "
                                  << (dir_ / "rec.txt").string()
                                  << "\n[window]\nrecord = " << (dir_ / "rec.txt").string() << "\n";
  std::ostringstream errors;
  kvr::Runtime rt(factories(), errors);
  rt.begin(0, (dir_ / "kvr.ini").string());
  std::int32_t x, y, b;
  rt.mouse(&x, &y, &b);
  rt.end();
  EXPECT_EQ(recording(), "1 2 0\n");
  EXPECT_NE(errors.str().find("replayed, not recorded again"), std::string::npos);
}

}  // namespace
