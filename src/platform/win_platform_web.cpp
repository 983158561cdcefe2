// The process services for WebAssembly. Under Node.js (the files of the
// machine reached directly) the menu program is started as on Linux: the
// file of the current directory, detached, the code as its only argument.
// In a browser there is no program to start: the hand-over reports the
// program missing and nothing happens.
#include <emscripten.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <string_view>

#include "platform/win_platform.h"

namespace {

// 1 when Node.js started the program, 0 when it could not. (JavaScript:
// clang-format would split its operators.)
// clang-format off
EM_JS(int, maison_spawn_detached, (const char* path, const char* argument), {
  if (typeof process == 'undefined' || typeof require == 'undefined') return 0;
  try {
    var child = require('child_process').spawn(
        UTF8ToString(path), [UTF8ToString(argument)],
        {cwd: process.cwd(), detached: true, stdio: 'ignore'});
    child.on('error', function() {});
    child.unref();
    return 1;
  } catch (e) {
    return 0;
  }
});
// clang-format on

}  // namespace

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
  if (getcwd(path, sizeof path) == nullptr) return file_not_found;
  const std::string_view cwd(path);
  if (std::snprintf(path + cwd.size(), sizeof path - cwd.size(), "/%s", program) >=
      static_cast<int>(sizeof path - cwd.size())) {
    return file_not_found;
  }
  std::snprintf(argument, sizeof argument, "%u", show_window);
  struct stat status {};
  if (stat(path, &status) != 0 || !S_ISREG(status.st_mode) || access(path, X_OK) != 0) {
    return file_not_found;
  }
  return maison_spawn_detached(path, argument) != 0 ? started : out_of_resources;
}

}  // namespace maison
