// Files written through a temporary name: whole under the final name, or
// not there at all (an older file keeping its content), with one message
// naming the file, whichever system call fails.
#include "atomic_file.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <ostream>
#include <sstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

std::string read_file(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream contents;
  contents << in.rdbuf();
  return contents.str();
}

std::vector<std::string> folder_entries(const fs::path& folder) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder))
    names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

// A fresh folder per test, removed afterwards.
class AtomicFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "atomic-file-XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    folder_ = pattern;
  }
  void TearDown() override {
    kvr::replace_file_system(kvr::posix_file_system());
    fs::remove_all(folder_);
  }
  std::string target() const { return (folder_ / "report.csv").string(); }

  fs::path folder_;
  std::ostringstream errors_;
};

TEST_F(AtomicFileTest, WritesTheWholeFileAndLeavesNothingElse) {
  // Small pieces, then one larger than the buffer, then small ones again:
  // the order of the bytes must survive the buffering.
  std::string expected;
  {
    kvr::AtomicFile file(target(), "the report", errors_);
    ASSERT_TRUE(file.ok());
    for (int i = 0; i < 5000; ++i) {
      std::string line = std::to_string(i) + ";";
      expected += line;
      ASSERT_TRUE(file.write(line));
    }
    std::string large(200 * 1024, 'x');
    for (std::size_t i = 0; i < large.size(); i += 997) large[i] = static_cast<char>('a' + i % 26);
    expected += large;
    ASSERT_TRUE(file.write(large));
    expected += "end\n";
    ASSERT_TRUE(file.write("end\n"));
    EXPECT_FALSE(fs::exists(target())) << "the final name appears only at commit";
    ASSERT_TRUE(file.commit());
  }
  EXPECT_EQ(read_file(target()), expected);
  EXPECT_EQ(folder_entries(folder_), std::vector<std::string>{"report.csv"});
  EXPECT_EQ(errors_.str(), "");
}

TEST_F(AtomicFileTest, ReplacesAnOlderFileAndGivesUpQuietlyWithoutCommit) {
  std::ofstream(target()) << "old";
  ASSERT_TRUE(kvr::write_file_atomically(target(), "new", "the report", errors_));
  EXPECT_EQ(read_file(target()), "new");
  {
    kvr::AtomicFile file(target(), "the report", errors_);
    ASSERT_TRUE(file.write("never committed"));
  }
  EXPECT_EQ(read_file(target()), "new");
  EXPECT_EQ(folder_entries(folder_), std::vector<std::string>{"report.csv"});
  EXPECT_EQ(errors_.str(), "");
}

TEST_F(AtomicFileTest, ALeftoverTemporaryOfTheSameNameIsLeftAlone) {
  const std::string leftover = target() + "." + std::to_string(getpid()) + ".part";
  std::ofstream(leftover) << "someone else's";
  ASSERT_TRUE(kvr::write_file_atomically(target(), "mine", "the report", errors_));
  EXPECT_EQ(read_file(target()), "mine");
  EXPECT_EQ(read_file(leftover), "someone else's");
  EXPECT_EQ(folder_entries(folder_).size(), 2U);
}

// Each system call in turn fails with a typical error.
enum class Failing { open, write, fsync, close, rename };

struct Failure {
  Failing call;
  int error;
  const char* name;  // the case's name in the list of tests
};

// How gtest and CTest show a case: "WriteFailsWithENOSPC: No space left on device".
void PrintTo(const Failure& f, std::ostream* os) {
  *os << f.name << ": " << std::strerror(f.error);
}

Failure g_failure;
std::size_t g_written = 0;

int failing_open(const char* path, int flags, mode_t mode) {
  // Only the temporary file is refused; the folder may still be opened for its sync.
  if (g_failure.call == Failing::open && (flags & O_CREAT) != 0) {
    errno = g_failure.error;
    return -1;
  }
  return kvr::posix_file_system().open(path, flags, mode);
}
ssize_t failing_write(int fd, const void* data, std::size_t size) {
  // The disk fills up after some bytes have gone through.
  if (g_failure.call == Failing::write && g_written >= 70'000) {
    errno = g_failure.error;
    return -1;
  }
  ssize_t n = kvr::posix_file_system().write(fd, data, size < 4096 ? size : 4096);
  if (n > 0) g_written += static_cast<std::size_t>(n);
  return n;
}
int failing_fsync(int fd) {
  if (g_failure.call == Failing::fsync) {
    errno = g_failure.error;
    return -1;
  }
  return kvr::posix_file_system().fsync(fd);
}
int failing_close(int fd) {
  int result = kvr::posix_file_system().close(fd);
  if (g_failure.call == Failing::close) {
    errno = g_failure.error;
    return -1;
  }
  return result;
}
int failing_rename(const char* from, const char* to) {
  if (g_failure.call == Failing::rename) {
    errno = g_failure.error;
    return -1;
  }
  return kvr::posix_file_system().rename(from, to);
}

class AtomicFileFailureTest : public AtomicFileTest,
                              public ::testing::WithParamInterface<Failure> {};

TEST_P(AtomicFileFailureTest, ReportsOnceAndLeavesNoHalfFile) {
  g_failure = GetParam();
  g_written = 0;
  std::ofstream(target()) << "the last good report";
  kvr::FileSystemCalls calls = kvr::posix_file_system();
  calls.open = &failing_open;
  calls.write = &failing_write;
  calls.fsync = &failing_fsync;
  calls.close = &failing_close;
  calls.rename = &failing_rename;
  kvr::replace_file_system(calls);

  bool committed = false;
  {
    kvr::AtomicFile file(target(), "the report", errors_);
    std::string chunk(1000, 'r');
    for (int i = 0; i < 100; ++i) (void)file.write(chunk);
    committed = file.commit();
    EXPECT_FALSE(file.ok());
    EXPECT_FALSE(file.write("more")) << "nothing is written after a failure";
  }
  kvr::replace_file_system(kvr::posix_file_system());

  EXPECT_FALSE(committed);
  EXPECT_EQ(errors_.str(),
            target() + ": cannot write the report: " + std::strerror(g_failure.error) + "\n");
  EXPECT_EQ(read_file(target()), "the last good report");
  EXPECT_EQ(folder_entries(folder_), std::vector<std::string>{"report.csv"});
}

INSTANTIATE_TEST_SUITE_P(EachCall, AtomicFileFailureTest,
                         ::testing::Values(Failure{Failing::open, EROFS, "OpenFailsWithEROFS"},
                                           Failure{Failing::open, EACCES, "OpenFailsWithEACCES"},
                                           Failure{Failing::write, ENOSPC, "WriteFailsWithENOSPC"},
                                           Failure{Failing::fsync, EIO, "FsyncFailsWithEIO"},
                                           Failure{Failing::close, EDQUOT, "CloseFailsWithEDQUOT"},
                                           Failure{Failing::rename, EXDEV, "RenameFailsWithEXDEV"}),
                         [](const ::testing::TestParamInfo<Failure>& each) {
                           return std::string(each.param.name);
                         });

TEST_F(AtomicFileTest, AMissingFolderIsReportedWithTheFinalName) {
  const std::string path = (folder_ / "no-such-folder" / "shot.png").string();
  EXPECT_FALSE(kvr::write_file_atomically(path, "png", "the screenshot", errors_));
  EXPECT_EQ(errors_.str(), path + ": cannot write the screenshot: No such file or directory\n");
  EXPECT_TRUE(folder_entries(folder_).empty());
}

TEST_F(AtomicFileTest, AFolderUnderTheFinalNameIsNotReplaced) {
  fs::create_directory(target());
  EXPECT_FALSE(kvr::write_file_atomically(target(), "x", "the report", errors_));
  EXPECT_NE(errors_.str().find(target() + ": cannot write the report: "), std::string::npos);
  EXPECT_TRUE(fs::is_directory(target()));
  EXPECT_EQ(folder_entries(folder_), std::vector<std::string>{"report.csv"});
}

}  // namespace
