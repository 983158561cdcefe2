// Launch codes: the whole run from start-up to hand-over for every example
// code, the configuration copy on real files, and the Linux platform layer.
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <random>
#include <set>
#include <sstream>
#include <thread>

#include "platform/win_platform.h"
#include "program_test.h"
#include "startup/configuration_copy.h"
#include "startup/launch_code.h"
#include "startup/main_procedure.h"
#include "startup/scene_variables.h"

namespace fs = std::filesystem;

namespace maison::testing {
namespace {

class TemporaryDirectory {
 public:
  TemporaryDirectory() {
    char name[] = "/tmp/maison-test-XXXXXX";
    path_ = mkdtemp(name);
  }
  ~TemporaryDirectory() { fs::remove_all(path_); }
  const fs::path& path() const { return path_; }

 private:
  fs::path path_;
};

void write_file(const fs::path& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

std::string read_file(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

std::set<fs::path> listing(const fs::path& directory) {
  std::set<fs::path> names;
  for (const auto& entry : fs::directory_iterator(directory)) names.insert(entry.path());
  return names;
}

// A program directory "work" inside a parent that may hold onglets.exe.
class LaunchTest : public ProgramTest {
 protected:
  void SetUp() override {
    ProgramTest::SetUp();
    work_ = root_.path() / "work";
    fs::create_directory(work_);
    previous_ = fs::current_path();
    prepare_run();
  }
  // A fresh process started in "work", with the configuration and its two variants.
  void prepare_run() {
    kvr_double::reset();
    start_afresh();
    write_file(work_ / "kvr.ini", "original");
    write_file(work_ / "kvrbdo.ini", "bdo variant");
    write_file(work_ / "kvrnu.ini", "nu variant");
    fs::current_path(work_);
  }
  void TearDown() override {
    fs::current_path(previous_);
    ProgramTest::TearDown();
  }
  int home_actions() const {
    int count = 0;
    for (const auto& action : kvr_double::actions()) count += action == "HOME";
    return count;
  }

  TemporaryDirectory root_;
  fs::path work_;
  fs::path previous_;
};

struct LaunchExample {
  std::int32_t received;
  int frames;  // 3: runs until the scene asks to end after the third frame
  const char* kvr_ini;
  std::int32_t sent;
};

TEST_F(LaunchTest, EveryExampleCodeCopiesRunsAndSendsBackAsDecoded) {
  const LaunchExample examples[] = {
      {1234, 3, "original", 1234},  {1231, 3, "bdo variant", 1231}, {1232, 3, "nu variant", 1232},
      {1239, 3, "original", 1230},  {5678, 3, "original", 1678},    {10, 1, "original", 1010},
      {1, 1, "bdo variant", 1001},  {999, 1, "original", 1990},     {0, 1, "original", 1000},
      {12345, 3, "original", 1345}, {65535, 3, "original", 1535},   {1002, 3, "nu variant", 1002},
  };
  for (const LaunchExample& example : examples) {
    SCOPED_TRACE(example.received);
    prepare_run();
    std::string at_begin;
    kvr_double::set_observer([&](std::string_view call) {
      if (call == "KvBegin(0)") at_begin = read_file("kvr.ini");
    });
    kvr_double::queue_home_results({0, 0, 0, 0, 0, 1});

    EXPECT_EQ(WinMain(example.received), 0);

    EXPECT_EQ(at_begin, example.kvr_ini);  // copied before the runtime starts
    EXPECT_EQ(home_actions(), 2 * example.frames);
    EXPECT_EQ(return_launch_code, example.sent);
    EXPECT_EQ(fs::current_path(), root_.path());
    const auto& calls = kvr_double::calls();
    ASSERT_GT(calls.size(), 100u);
    EXPECT_EQ(calls[0], "KvBegin(0)");
    EXPECT_EQ(calls[1], "KvLoad(HOME.SP1)");
    EXPECT_EQ(calls[97], "KvExec(INHOME)");
    EXPECT_EQ(calls.back(), "KvEnd");
  }
}

TEST_F(LaunchTest, QuitButtonFinishesItsFrameThenHandsOver) {
  kvr_double::queue_click(778, 579);
  WinMain(1234);
  const auto& calls = kvr_double::calls();
  ASSERT_GE(calls.size(), 3u);
  EXPECT_EQ(home_actions(), 2);
  EXPECT_EQ(calls[calls.size() - 3], "KvExec(HOME)");
  EXPECT_EQ(calls[calls.size() - 2], "KvExec(HOME)");
  EXPECT_EQ(calls.back(), "KvEnd");
}

TEST_F(LaunchTest, MenuProgramReceivesTheReturnCodeAndLeavesNoZombie) {
  const fs::path menu = root_.path() / "onglets.exe";
  write_file(menu, "#!/bin/sh\necho \"$1\" > received.tmp && mv received.tmp received.txt\n");
  fs::permissions(menu, fs::perms::owner_all);
  kvr_double::queue_home_results({0, 1});
  WinMain(1239);

  const fs::path received = root_.path() / "received.txt";
  for (int i = 0; i < 500 && !fs::exists(received); ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  EXPECT_EQ(read_file(received), "1230\n");
  errno = 0;
  EXPECT_EQ(waitpid(-1, nullptr, WNOHANG), -1);
  EXPECT_EQ(errno, ECHILD);
}

TEST_F(LaunchTest, MissingOrNonExecutableMenuProgramStartsNothing) {
  EXPECT_EQ(WinExec("onglets.exe", 1000), 2u);
  write_file(work_ / "onglets.exe", "#!/bin/sh\ntouch started\n");
  fs::permissions(work_ / "onglets.exe", fs::perms::owner_read | fs::perms::owner_write);
  EXPECT_EQ(WinExec("onglets.exe", 1000), 2u);
  EXPECT_FALSE(fs::exists(work_ / "started"));
}

TEST_F(LaunchTest, CopyIsByteForByteAtAnySize) {
  std::mt19937 random(7);
  std::string bytes(1025, '\0');
  for (char& byte : bytes) byte = static_cast<char>(random());
  bytes.replace(100, 4, "\r\n\0\n", 4);
  write_file("big.ini", bytes);
  EXPECT_EQ(copy_file("big.ini", "kvr.ini"), copy_done);
  EXPECT_EQ(read_file("kvr.ini"), bytes);

  write_file("empty.ini", "");
  EXPECT_EQ(copy_file("empty.ini", "kvr.ini"), copy_done);
  EXPECT_TRUE(fs::exists("kvr.ini"));
  EXPECT_EQ(fs::file_size("kvr.ini"), 0u);

  EXPECT_EQ(copy_file("kvrnu.ini", "new.ini"), copy_done);
  EXPECT_EQ(read_file("new.ini"), "nu variant");
}

TEST_F(LaunchTest, CopyKeepsTheDestinationsPermissions) {
  fs::permissions("kvr.ini", fs::perms::owner_read | fs::perms::owner_write);
  EXPECT_EQ(copy_file("kvrbdo.ini", "kvr.ini"), copy_done);
  EXPECT_EQ(fs::status("kvr.ini").permissions() & fs::perms::all,
            fs::perms::owner_read | fs::perms::owner_write);
}

TEST_F(LaunchTest, FailedCopiesLeaveTheDestinationAsItWas) {
  const auto before = listing(work_);
  EXPECT_EQ(copy_file("missing.ini", "kvr.ini"), copy_source_unreadable);
  EXPECT_EQ(copy_file("missing.ini", "absent.ini"), copy_source_unreadable);
  EXPECT_FALSE(fs::exists("absent.ini"));

  fs::create_directory("folder");
  EXPECT_EQ(copy_file("kvrbdo.ini", "folder"), copy_destination_unwritable);
  EXPECT_EQ(copy_file("kvrbdo.ini", "no/such/dir/kvr.ini"), copy_destination_unwritable);

  // A directory opens for reading but fails at the first read.
  EXPECT_EQ(copy_file("folder", "kvr.ini"), copy_failed_midway);
  EXPECT_EQ(read_file("kvr.ini"), "original");
  fs::remove("folder");
  EXPECT_EQ(listing(work_), before);  // no temporary file left behind

  // A units digit of 1 with no variant to copy: start-up goes on.
  fs::remove("kvrbdo.ini");
  WinMain(1);
  EXPECT_EQ(read_file(work_ / "kvr.ini"), "original");
  EXPECT_EQ(kvr_double::calls().back(), "KvEnd");
}

struct Arguments {
  std::vector<const char*> argv;
  bool run;
  std::int32_t code;
  int status;
};

TEST(LaunchArrivalTest, AcceptsOneDecimalCodeUpTo65535) {
  const Arguments cases[] = {
      {{"maison"}, true, 1000, 0},
      {{"maison", "1234"}, true, 1234, 0},
      {{"maison", "0"}, true, 0, 0},
      {{"maison", "65535"}, true, 65535, 0},
      {{"maison", "0042"}, true, 42, 0},
      {{"maison", "65536"}, false, 0, 2},
      {{"maison", "99999999999"}, false, 0, 2},
      {{"maison", "-1"}, false, 0, 2},
      {{"maison", "+5"}, false, 0, 2},
      {{"maison", "12a"}, false, 0, 2},
      {{"maison", ""}, false, 0, 2},
      {{"maison", " 12"}, false, 0, 2},
      {{"maison", "1", "2"}, false, 0, 2},
      {{"maison", "--help", "x"}, false, 0, 2},
      {{"maison", "--help"}, false, 0, 0},
  };
  for (const Arguments& c : cases) {
    SCOPED_TRACE(c.argv.size() > 1 ? c.argv[1] : "(none)");
    std::FILE* out = std::tmpfile();
    std::FILE* err = std::tmpfile();
    const LaunchArrival arrival =
        receive_launch_code(static_cast<int>(c.argv.size()), c.argv.data(), out, err);
    EXPECT_EQ(arrival.run, c.run);
    if (c.run) {
      EXPECT_EQ(arrival.launch_code, c.code);
    } else {
      EXPECT_EQ(arrival.exit_status, c.status);
    }

    char buffer[512] = {};
    std::FILE* message = c.status == 2 ? err : out;
    std::rewind(message);
    const std::size_t length = std::fread(buffer, 1, sizeof buffer - 1, message);
    const std::string printed(buffer, length);
    if (!c.run) {
      EXPECT_NE(printed.find("usage"), std::string::npos);
      EXPECT_EQ(printed.find('\n'), printed.size() - 1);  // one line
    } else {
      EXPECT_TRUE(printed.empty());
    }
    std::fclose(out);
    std::fclose(err);
  }
}

}  // namespace
}  // namespace maison::testing
