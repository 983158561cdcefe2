// Files that appear whole or not at all. Everything the runtime writes for
// the user (screenshots, pictures, reports, recordings) goes through a
// temporary file in the folder of its final name: written, flushed, synced
// and closed, then renamed over the final name. When any step fails the
// temporary is removed, one line "PATH: cannot write WHAT: reason" goes to
// the error stream, and the caller gets false; a file already under the
// final name keeps its old content, and the run goes on.
#ifndef KVR_CORE_ATOMIC_FILE_H
#define KVR_CORE_ATOMIC_FILE_H

#include <sys/types.h>

#include <cstddef>
#include <cstdint>
#include <iostream>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace kvr {

// The system calls behind AtomicFile, as a table so that tests can make any
// of them fail (a full disk, a read-only folder, a failing rename) without
// touching a real disk. Each has the POSIX signature and sets errno.
struct FileSystemCalls {
  int (*open)(const char* path, int flags, mode_t mode);
  ssize_t (*write)(int fd, const void* data, std::size_t size);
  int (*fsync)(int fd);
  int (*close)(int fd);
  int (*rename)(const char* from, const char* to);
  int (*unlink)(const char* path);
};

// The real calls.
FileSystemCalls posix_file_system();
// The calls in use (the real ones unless a test replaced them).
const FileSystemCalls& file_system();
// Replaces the calls in use and returns the previous ones (for tests only).
FileSystemCalls replace_file_system(const FileSystemCalls& calls);

class AtomicFile {
 public:
  // Creates the temporary file beside `path`. `what` names the file in the
  // message ("the screenshot", "the report"). A failure is reported at once;
  // ok() is then false and every later call does nothing.
  AtomicFile(std::string path, std::string what, std::ostream& errors = std::cerr);
  // Without commit(), the temporary file is removed and nothing is reported.
  ~AtomicFile();
  AtomicFile(const AtomicFile&) = delete;
  AtomicFile& operator=(const AtomicFile&) = delete;

  // Appends bytes. False once anything has failed.
  bool write(const void* data, std::size_t size);
  bool write(std::string_view text) { return write(text.data(), text.size()); }

  // Flushes, syncs and closes the temporary file, then renames it over the
  // final name. True when the file is in place with everything written.
  bool commit();
  // Gives up without a message: the temporary file goes, the final name is
  // not touched.
  void discard();

  bool ok() const { return state_ == State::open; }
  const std::string& path() const { return path_; }
  // The temporary file, for writers that can only write to a path; they
  // write it and then call commit(). Empty when it could not be created.
  const std::string& temporary_path() const { return temporary_; }

 private:
  enum class State : std::uint8_t { open, committed, failed };

  bool flush_buffer();
  bool write_all(const char* bytes, std::size_t size);
  // Reports `reason` once, closes and removes the temporary file.
  void fail(int error);

  std::string path_;
  std::string what_;
  std::ostream& errors_;
  std::string temporary_;
  int fd_ = -1;
  State state_ = State::failed;
  std::vector<char> buffer_;
};

// Writes `contents` as the whole file `path`, atomically. False, with the
// message on `errors`, when it cannot.
bool write_file_atomically(const std::string& path, std::string_view contents,
                           const std::string& what, std::ostream& errors = std::cerr);

}  // namespace kvr

#endif
