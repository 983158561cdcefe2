// Opening the SDL window as the settings ask: its size (fitted to the
// screen, or full screen), and no window at all where no display is.
#ifndef KVR_WINDOW_WINDOW_OPENING_H
#define KVR_WINDOW_WINDOW_OPENING_H

#include <SDL.h>

#include "settings.h"

namespace kvr {

// Starts SDL's video (`sdl_started` set once it has) and opens the window;
// `fullscreen` set when it opened full screen. Nullptr, with the message on
// standard error, when no window can be opened; SDL is then left for the
// caller to quit.
SDL_Window* open_window(const Settings& settings, bool& sdl_started, bool& fullscreen);

}  // namespace kvr

#endif
