// Loaded into maison with LD_PRELOAD by resize_drag.sh: writes a line for
// every frame the window draws ("start", when it takes the window surface)
// and presents ("whole" or "rects"), with the time in milliseconds and the
// window's size, to the file named by PRESENT_LOG. The calls then go on to
// SDL unchanged.
#include <SDL.h>
#include <dlfcn.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>

namespace {

double now_ms() {
  timespec t{};
  clock_gettime(CLOCK_MONOTONIC, &t);
  return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) / 1e6;
}

void note(SDL_Window* window, const char* what) {
  static std::FILE* out = [] {
    const char* path = std::getenv("PRESENT_LOG");
    return std::fopen(path != nullptr ? path : "present.log", "w");
  }();
  if (out == nullptr) return;
  int w = 0, h = 0;
  SDL_GetWindowSize(window, &w, &h);
  std::fprintf(out, "%.3f %s %dx%d\n", now_ms(), what, w, h);
  std::fflush(out);
}

// The next definition of `name` after this library's: SDL's own.
template <typename F>
F next(const char* name) {
  return reinterpret_cast<F>(dlsym(RTLD_NEXT, name));
}

}  // namespace

extern "C" {

SDL_Surface* SDL_GetWindowSurface(SDL_Window* window) {
  static auto real = next<SDL_Surface* (*)(SDL_Window*)>("SDL_GetWindowSurface");
  note(window, "start");
  return real(window);
}

int SDL_UpdateWindowSurface(SDL_Window* window) {
  static auto real = next<int (*)(SDL_Window*)>("SDL_UpdateWindowSurface");
  note(window, "whole");
  return real(window);
}

int SDL_UpdateWindowSurfaceRects(SDL_Window* window, const SDL_Rect* rects, int count) {
  static auto real =
      next<int (*)(SDL_Window*, const SDL_Rect*, int)>("SDL_UpdateWindowSurfaceRects");
  note(window, "rects");
  return real(window, rects, count);
}

}  // extern "C"
