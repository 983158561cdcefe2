// SDL's key codes as the page's keys: the window's keys (keyboard.h), with
// the page's own where a browser keeps the window's key for itself. F5 pins
// the reference when the browser hands it over (most do, and a reload would
// lose the session); F8 does it everywhere (Maj+F8 clears). F11 and F12
// stay the browser's (its full screen, its tools; the page does not ask
// for them): F9 toggles the page's full screen, F2 downloads a screenshot.
#ifndef KVR_BROWSER_PAGE_KEYS_H
#define KVR_BROWSER_PAGE_KEYS_H

#include <SDL.h>

#include "sdl_keys.h"

namespace kvr {

// The page's own keys first; every other key is the window's.
inline Key page_key(SDL_Keycode sym) {
  switch (sym) {
    case SDLK_F8:
      return Key::F5;
    case SDLK_F9:
      return Key::F11;
    case SDLK_F2:
      return Key::F12;
    case SDLK_F11:
    case SDLK_F12:
      return Key::Other;
    default:
      return key_from_sdl(sym);
  }
}

}  // namespace kvr

#endif
