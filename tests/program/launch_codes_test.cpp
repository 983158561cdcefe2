// Launch codes: the whole run from start-up to hand-over for every example
// code, the configuration copy on real files, and the Linux platform layer.
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
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

namespace fs = std::filesystem;

namespace maison::testing {
namespace {

void write_file(const fs::path& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

std::string read_file(const fs::path& path) {
  std::ostringstream bytes;
  bytes << std::ifstream(path, std::ios::binary).rdbuf();
  return bytes.str();
}

// The program starts in root/work, with kvr.ini and its two variants.
class LaunchTest : public ProgramTest {
 protected:
  void SetUp() override {
    char name[] = "/tmp/maison-test-XXXXXX";
    root_ = mkdtemp(name);
    work_ = root_ / "work";
    fs::create_directory(work_);
    previous_ = fs::current_path();
    prepare_run();
  }
  void TearDown() override {
    fs::current_path(previous_);
    fs::remove_all(root_);
    ProgramTest::TearDown();
  }
  void prepare_run() {
    kvr_double::reset();
    start_afresh();
    write_file(work_ / "kvr.ini", "original");
    write_file(work_ / "kvrbdo.ini", "bdo variant");
    write_file(work_ / "kvrnu.ini", "nu variant");
    fs::current_path(work_);
  }
  static long home_actions() {
    return std::count(kvr_double::actions().begin(), kvr_double::actions().end(), "HOME");
  }
  fs::path root_, work_, previous_;
};

TEST_F(LaunchTest, EveryExampleCodeCopiesRunsAndSendsBackAsDecoded) {
  const struct {
    std::int32_t received;
    int frames;  // 3: runs until the scene asks to end after the third frame
    const char* kvr_ini;
    std::int32_t sent;
  } examples[] = {
      {1234, 3, "original", 1234},  {1231, 3, "bdo variant", 1231}, {1232, 3, "nu variant", 1232},
      {1239, 3, "original", 1230},  {5678, 3, "original", 1678},    {10, 1, "original", 1010},
      {1, 1, "bdo variant", 1001},  {999, 1, "original", 1990},     {0, 1, "original", 1000},
      {12345, 3, "original", 1345}, {65535, 3, "original", 1535},
  };
  for (const auto& example : examples) {
    SCOPED_TRACE(example.received);
    prepare_run();
    std::string at_begin;
    kvr_double::set_observer([&](std::string_view call) {
      if (call == "KvBegin(0)") at_begin = read_file("kvr.ini");
    });
    kvr_double::queue_home_results({0, 0, 0, 0, 0, 1});
    EXPECT_EQ(WinMain(example.received), 0);
    EXPECT_EQ(at_begin, example.kvr_ini);
    EXPECT_EQ(home_actions(), 2 * example.frames);
    EXPECT_EQ(return_launch_code, example.sent);
    EXPECT_EQ(fs::current_path(), root_);
    const auto& calls = kvr_double::calls();
    EXPECT_EQ((Texts{calls[0], calls[1], calls[97], calls.back()}),
              (Texts{"KvBegin(0)", "KvLoad(HOME.SP1)", "KvExec(INHOME)", "KvEnd"}));
  }
}

TEST_F(LaunchTest, QuitButtonFinishesItsFrameThenHandsOver) {
  kvr_double::queue_click(778, 579);
  WinMain(1234);
  const auto& calls = kvr_double::calls();
  EXPECT_EQ(home_actions(), 2);
  EXPECT_EQ(Texts(calls.end() - 3, calls.end()), (Texts{"KvExec(HOME)", "KvExec(HOME)", "KvEnd"}));
}

TEST_F(LaunchTest, MenuProgramReceivesTheReturnCodeAndLeavesNoZombie) {
  EXPECT_EQ(WinExec("onglets.exe", 1000), 2u);  // missing: nothing happens
  const fs::path menu = root_ / "onglets.exe";
  write_file(menu, "#!/bin/sh\necho \"$1\" > received.tmp && mv received.tmp received.txt\n");
  fs::permissions(menu, fs::perms::owner_all);
  kvr_double::queue_home_results({0, 1});
  WinMain(1239);
  const fs::path received = root_ / "received.txt";
  for (int i = 0; i < 500 && !fs::exists(received); ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  EXPECT_EQ(read_file(received), "1230\n");
  errno = 0;
  EXPECT_EQ(waitpid(-1, nullptr, WNOHANG), -1);
  EXPECT_EQ(errno, ECHILD);
}

TEST_F(LaunchTest, CopyIsByteForByteAndFailuresLeaveTheDestinationAsItWas) {
  std::mt19937 random(7);
  std::string bytes(1025, '\0');  // two full reads of 512 and one of 1
  for (char& byte : bytes) byte = static_cast<char>(random());
  write_file("big.ini", bytes);
  EXPECT_EQ(copy_file("big.ini", "new.ini"), copy_done);
  EXPECT_EQ(read_file("new.ini"), bytes);
  write_file("empty.ini", "");
  EXPECT_EQ(copy_file("empty.ini", "new.ini"), copy_done);
  EXPECT_EQ(read_file("new.ini"), "");

  const auto listing = [&] {
    std::set<fs::path> names;
    for (const auto& entry : fs::directory_iterator(work_)) names.insert(entry.path());
    return names;
  };
  fs::create_directory("folder");
  const auto before = listing();
  EXPECT_EQ(copy_file("missing.ini", "kvr.ini"), copy_source_unreadable);
  EXPECT_EQ(copy_file("missing.ini", "absent.ini"), copy_source_unreadable);
  EXPECT_EQ(copy_file("kvrbdo.ini", "folder"), copy_destination_unwritable);
  EXPECT_EQ(copy_file("kvrbdo.ini", "no/such/kvr.ini"), copy_destination_unwritable);
  // A directory opens for reading but fails at the first read.
  EXPECT_EQ(copy_file("folder", "kvr.ini"), copy_failed_midway);
  EXPECT_EQ(read_file("kvr.ini"), "original");
  EXPECT_EQ(listing(), before);  // nothing created, no temporary file left

  fs::remove("kvrbdo.ini");  // units 1 with no variant: start-up goes on
  WinMain(1);
  EXPECT_EQ(read_file(work_ / "kvr.ini"), "original");
  EXPECT_EQ(kvr_double::calls().back(), "KvEnd");
}

TEST(LaunchArrivalTest, AcceptsOneDecimalCodeUpTo65535) {
  const struct {
    std::vector<const char*> argv;
    std::int32_t code;  // -1: exit with status
    int status;
  } cases[] = {
      {{"maison"}, 1000, 0},     {{"maison", "1234"}, 1234, 0}, {{"maison", "65535"}, 65535, 0},
      {{"maison", "0"}, 0, 0},   {{"maison", "65536"}, -1, 2},  {{"maison", "99999999999"}, -1, 2},
      {{"maison", "-1"}, -1, 2}, {{"maison", "+5"}, -1, 2},     {{"maison", "12a"}, -1, 2},
      {{"maison", ""}, -1, 2},   {{"maison", "1", "2"}, -1, 2}, {{"maison", "--help"}, -1, 0},
  };
  for (const auto& c : cases) {
    std::FILE* out = std::tmpfile();
    const auto arrival =
        receive_launch_code(static_cast<int>(c.argv.size()), c.argv.data(), out, out);
    EXPECT_EQ(arrival.run ? arrival.launch_code : -1, c.code) << c.argv.back();
    char printed[512] = {};
    std::rewind(out);
    const std::size_t length = std::fread(printed, 1, sizeof printed - 1, out);
    EXPECT_EQ(std::count(printed, printed + length, '\n'), arrival.run ? 0 : 1);  // one line
    if (!arrival.run) {
      EXPECT_EQ(arrival.exit_status, c.status);
    }
    std::fclose(out);
  }
}

}  // namespace
}  // namespace maison::testing
