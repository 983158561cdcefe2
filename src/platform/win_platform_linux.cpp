#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

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

}  // namespace maison
