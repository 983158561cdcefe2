#include "atomic_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <utility>

namespace kvr {

namespace {

// Bytes gathered before one write call: stream writers hand over small pieces.
constexpr std::size_t buffer_size = 64 * 1024;
// Names tried for the temporary file before giving up.
constexpr int temporary_attempts = 100;

int posix_open(const char* path, int flags, mode_t mode) {
  return ::open(path, flags, mode);
}

FileSystemCalls& calls_in_use() {
  static FileSystemCalls calls = posix_file_system();
  return calls;
}

std::string folder_of(const std::string& path) {
  std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

// The folder's own entry is synced too, so that the rename survives a crash
// of the machine. File systems that cannot sync a folder are not an error.
void sync_folder(const std::string& path) {
  const FileSystemCalls& fs = file_system();
  int fd = fs.open(folder_of(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC, 0);
  if (fd < 0) return;
  (void)fs.fsync(fd);
  (void)fs.close(fd);
}

}  // namespace

FileSystemCalls posix_file_system() {
  return FileSystemCalls{&posix_open, &::write, &::fsync, &::close, &::rename, &::unlink};
}

const FileSystemCalls& file_system() {
  return calls_in_use();
}

FileSystemCalls replace_file_system(const FileSystemCalls& calls) {
  return std::exchange(calls_in_use(), calls);
}

AtomicFile::AtomicFile(std::string path, std::string what, std::ostream& errors)
    : path_(std::move(path)), what_(std::move(what)), errors_(errors) {
  const FileSystemCalls& fs = file_system();
  const std::string stem = path_ + "." + std::to_string(::getpid());
  int error = 0;
  for (int attempt = 0; attempt < temporary_attempts; ++attempt) {
    std::string name =
        attempt == 0 ? stem + ".part" : stem + "-" + std::to_string(attempt) + ".part";
    fd_ = fs.open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd_ >= 0) {
      temporary_ = std::move(name);
      state_ = State::open;
      buffer_.reserve(buffer_size);
      return;
    }
    error = errno;
    if (error != EEXIST) break;
  }
  fail(error);
}

AtomicFile::~AtomicFile() {
  discard();
}

bool AtomicFile::write(const void* data, std::size_t size) {
  if (state_ != State::open) return false;
  const char* bytes = static_cast<const char*>(data);
  if (buffer_.size() + size > buffer_size && !flush_buffer()) return false;
  // Large pieces go straight through.
  if (size >= buffer_size) return write_all(bytes, size);
  buffer_.insert(buffer_.end(), bytes, bytes + size);
  return true;
}

bool AtomicFile::flush_buffer() {
  if (!write_all(buffer_.data(), buffer_.size())) return false;
  buffer_.clear();
  return true;
}

bool AtomicFile::write_all(const char* bytes, std::size_t size) {
  const FileSystemCalls& fs = file_system();
  std::size_t done = 0;
  while (done < size) {
    ssize_t n = fs.write(fd_, bytes + done, size - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      fail(n == 0 ? ENOSPC : errno);
      return false;
    }
    done += static_cast<std::size_t>(n);
  }
  return true;
}

bool AtomicFile::commit() {
  if (state_ != State::open) return false;
  if (!flush_buffer()) return false;
  const FileSystemCalls& fs = file_system();
  // EINVAL: a file that cannot be synced, which is no failure of the write.
  if (fs.fsync(fd_) != 0 && errno != EINVAL) {
    fail(errno);
    return false;
  }
  int fd = std::exchange(fd_, -1);
  // Some file systems report a full disk only when the file is closed.
  if (fs.close(fd) != 0 && errno != EINTR) {
    fail(errno);
    return false;
  }
  if (fs.rename(temporary_.c_str(), path_.c_str()) != 0) {
    fail(errno);
    return false;
  }
  temporary_.clear();
  state_ = State::committed;
  sync_folder(path_);
  return true;
}

void AtomicFile::discard() {
  if (state_ != State::open) return;
  const FileSystemCalls& fs = file_system();
  if (fd_ >= 0) (void)fs.close(std::exchange(fd_, -1));
  if (!temporary_.empty()) (void)fs.unlink(temporary_.c_str());
  temporary_.clear();
  state_ = State::failed;
}

void AtomicFile::fail(int error) {
  const FileSystemCalls& fs = file_system();
  if (fd_ >= 0) (void)fs.close(std::exchange(fd_, -1));
  if (!temporary_.empty()) (void)fs.unlink(temporary_.c_str());
  temporary_.clear();
  buffer_.clear();
  state_ = State::failed;
  errors_ << path_ << ": cannot write " << what_ << ": " << std::strerror(error) << '\n';
  errors_.flush();
}

bool write_file_atomically(const std::string& path, std::string_view contents,
                           const std::string& what, std::ostream& errors) {
  AtomicFile file(path, what, errors);
  return file.write(contents) && file.commit();
}

}  // namespace kvr
