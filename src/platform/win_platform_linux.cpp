#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstring>

#include "platform/win_platform.h"

namespace maison {

std::int32_t SetCurrentDirectoryA(const char* path) {
  return chdir(path) == 0 ? 1 : 0;
}

std::uint32_t WinExec(const char* program, std::uint32_t show_window) {
  constexpr std::uint32_t started = 33;
  constexpr std::uint32_t file_not_found = 2;
  constexpr std::uint32_t out_of_resources = 0;

  char path[4096];
  char argument[16];
  if (std::snprintf(path, sizeof path, "./%s", program) >= static_cast<int>(sizeof path)) {
    return file_not_found;
  }
  std::snprintf(argument, sizeof argument, "%u", show_window);
  struct stat status {};
  if (stat(path, &status) != 0 || !S_ISREG(status.st_mode) || access(path, X_OK) != 0) {
    return file_not_found;
  }

  // Detached: the child starts the program in a grandchild and exits at
  // once, so the program is adopted by init and never becomes our zombie.
  char* const arguments[] = {path, argument, nullptr};
  const pid_t child = fork();
  if (child < 0) return out_of_resources;
  if (child == 0) {
    setsid();
    const pid_t grandchild = fork();
    if (grandchild == 0) {
      execv(path, arguments);
      _exit(127);
    }
    _exit(grandchild < 0 ? 1 : 0);
  }
  int child_status = 0;
  while (waitpid(child, &child_status, 0) < 0 && errno == EINTR) {
  }
  return started;
}

namespace {

constexpr const char* usage =
    "usage: maison [LAUNCH_CODE]   LAUNCH_CODE: a decimal number from 0 to 65535 (default 1000)";

// Digits only: no sign, no blank, at least one digit, at most 65535.
// from_chars on an unsigned type takes neither '+' nor '-'.
bool parse_code(const char* text, std::int32_t& code) {
  const char* const last = text + std::strlen(text);
  std::uint32_t value = 0;
  const auto [end, error] = std::from_chars(text, last, value);
  if (error != std::errc{} || end != last || value > 65535) return false;
  code = static_cast<std::int32_t>(value);
  return true;
}

}  // namespace

LaunchArrival receive_launch_code(int argc, const char* const* argv, std::FILE* out,
                                  std::FILE* err) {
  if (argc <= 1) return {true, direct_start_code, 0};
  if (argc == 2 && std::strcmp(argv[1], "--help") == 0) {
    std::fprintf(out, "%s\n", usage);
    return {false, 0, 0};
  }
  std::int32_t code = 0;
  if (argc > 2) {
    std::fprintf(err, "maison: expected at most one argument; %s\n", usage);
    return {false, 0, 2};
  }
  if (!parse_code(argv[1], code)) {
    std::fprintf(err, "maison: invalid launch code \"%s\"; %s\n", argv[1], usage);
    return {false, 0, 2};
  }
  return {true, code, 0};
}

}  // namespace maison
