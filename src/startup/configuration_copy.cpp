#include "startup/configuration_copy.h"

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>

#include "startup/launch_code.h"

namespace maison {
namespace {

bool exists(const char* path) {
  std::error_code ignored;
  return std::filesystem::exists(path, ignored);
}

// An existing destination that could not be opened for writing stays as it
// is. Opening it for appending writes nothing and keeps its contents.
bool existing_destination_is_writable(const char* destination) {
  std::FILE* probe = std::fopen(destination, "ab");
  if (probe == nullptr) return false;
  std::fclose(probe);
  return true;
}

std::FILE* create_temporary(const std::string& name) {
  std::FILE* file = std::fopen(name.c_str(), "wbx");
  if (file == nullptr && errno == EEXIST) {
    // Left behind by a run that was killed in the middle of a copy.
    std::remove(name.c_str());
    file = std::fopen(name.c_str(), "wbx");
  }
  return file;
}

}  // namespace

std::int32_t copy_file(const char* source, const char* destination) {
  std::FILE* in = std::fopen(source, "rb");
  if (in == nullptr) return copy_source_unreadable;

  const bool replacing = exists(destination);
  const std::string temporary = std::string(destination) + ".tmp";
  std::FILE* out = nullptr;
  if (!replacing || existing_destination_is_writable(destination)) {
    out = create_temporary(temporary);
  }
  if (out == nullptr) {
    std::fclose(in);
    return copy_destination_unwritable;
  }

  bool failed = false;
  unsigned char buffer[512];
  for (;;) {
    const std::size_t count = std::fread(buffer, 1, sizeof buffer, in);
    if (count == 0) break;
    if (std::fwrite(buffer, 1, count, out) != count) {
      failed = true;
      break;
    }
  }
  if (std::ferror(in) != 0) failed = true;
  if (std::fflush(out) != 0) failed = true;
  if (std::fclose(out) != 0) failed = true;
  std::fclose(in);

  if (!failed && replacing) {
    // The copy takes the place of the old file and keeps its permissions.
    std::error_code error;
    const auto permissions = std::filesystem::status(destination, error).permissions();
    if (!error) std::filesystem::permissions(temporary, permissions, error);
  }
  if (!failed && std::rename(temporary.c_str(), destination) != 0) failed = true;
  if (failed) {
    std::remove(temporary.c_str());
    return copy_failed_midway;
  }
  return copy_done;
}

void choose_configuration() {
  if (launch_units == 1) {
    copy_file("kvrbdo.ini", "kvr.ini");
  } else if (launch_units == 2) {
    copy_file("kvrnu.ini", "kvr.ini");
  }
}

}  // namespace maison
