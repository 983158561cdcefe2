#include "window_opening.h"

#include <algorithm>
#include <cstring>
#include <iostream>

#include "window_input.h"

namespace kvr {

SDL_Window* open_window(const Settings& settings, bool& sdl_started, bool& fullscreen) {
  if (SDL_Init(SDL_INIT_VIDEO) != 0) {
    std::cerr << "KvrRun: cannot open a window: " << SDL_GetError()
              << " (set backend = headless in kvr.ini, or KVR_BACKEND=headless)\n";
    return nullptr;
  }
  sdl_started = true;
  // Without a display SDL falls back to its offscreen or dummy driver and
  // "opens" a window nobody can see or close, so the run would never end.
  // Unless such a driver was asked for by name, that is no window at all.
  const char* driver = SDL_GetCurrentVideoDriver();
  const char* asked = SDL_getenv("SDL_VIDEODRIVER");
  if (driver != nullptr && (asked == nullptr || *asked == '\0') &&
      (std::strcmp(driver, "offscreen") == 0 || std::strcmp(driver, "dummy") == 0)) {
    std::cerr << "KvrRun: no display to open a window on (set DISPLAY, or backend = headless "
                 "in kvr.ini, or KVR_BACKEND=headless)\n";
    return nullptr;
  }
  int width = settings.window_width, height = settings.window_height;
  Uint32 flags = SDL_WINDOW_RESIZABLE | SDL_WINDOW_ALLOW_HIGHDPI;
  if (settings.window_mode == Settings::WindowMode::Fit) {
    SDL_Rect usable{0, 0, 800, 600};
    if (SDL_GetDisplayUsableBounds(0, &usable) == 0) {
      WindowSize fitted = fit_window(usable.w, usable.h);
      width = fitted.width;
      height = fitted.height;
    }
  } else if (settings.window_mode == Settings::WindowMode::Fullscreen) {
    flags |= SDL_WINDOW_FULLSCREEN_DESKTOP;
    fullscreen = true;
  }
  width = std::max(width, 160);
  height = std::max(height, 120);
  SDL_Window* window = SDL_CreateWindow(settings.window_title.c_str(), SDL_WINDOWPOS_CENTERED,
                                        SDL_WINDOWPOS_CENTERED, width, height, flags);
  if (window == nullptr) {
    std::cerr << "KvrRun: cannot open a window: " << SDL_GetError() << "\n";
    return nullptr;
  }
  return window;
}

}  // namespace kvr
