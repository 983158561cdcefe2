// The process services the program was written against, for Linux: the
// launch code arrives as the first command-line argument and leaves as the
// only argument of the menu program.
#ifndef MAISON_PLATFORM_WIN_PLATFORM_H
#define MAISON_PLATFORM_WIN_PLATFORM_H

#include <cstdint>
#include <cstdio>

namespace maison {

// Makes the named directory the current directory. Non-zero on success.
std::int32_t SetCurrentDirectoryA(const char* path);

// Starts the named program of the current directory as a detached process
// with show_window as its only argument, in decimal, and returns without
// waiting for it. Above 31 when it was started; 2 when it is missing or not
// executable, and then nothing happens.
std::uint32_t WinExec(const char* program, std::uint32_t show_window);

// The launch code of a person starting the program directly: it runs until
// quit and copies no configuration.
inline constexpr std::int32_t direct_start_code = 1000;

struct LaunchArrival {
  bool run;                  // false: exit at once with exit_status
  std::int32_t launch_code;  // 0 to 65535
  int exit_status;
};

// Reads the command line: no argument gives direct_start_code; one decimal
// number from 0 to 65535 is the code; "--help" prints the usage on out and
// exits 0; anything else prints a one-line usage error on err and exits 2.
LaunchArrival receive_launch_code(int argc, const char* const* argv, std::FILE* out = stdout,
                                  std::FILE* err = stderr);

}  // namespace maison

#endif
