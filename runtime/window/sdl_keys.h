// SDL's key codes as the window's keys (keyboard.h).
#ifndef KVR_WINDOW_SDL_KEYS_H
#define KVR_WINDOW_SDL_KEYS_H

#include <SDL.h>

#include "keyboard.h"
#include "window_input.h"

namespace kvr {

inline Key key_from_sdl(SDL_Keycode sym) {
  switch (sym) {
    case SDLK_ESCAPE:
      return Key::Escape;
    case SDLK_TAB:
      return Key::Tab;
    case SDLK_RETURN:
    case SDLK_KP_ENTER:
      return Key::Enter;
    case SDLK_SPACE:
      return Key::Space;
    case SDLK_F5:
      return Key::F5;
    case SDLK_F7:
      return Key::F7;
    case SDLK_F10:
      return Key::F10;
    case SDLK_F11:
      return Key::F11;
    case SDLK_F12:
      return Key::F12;
    default:
      return Key::Other;
  }
}

static_assert(SDL_TOUCH_MOUSEID == kTouchMouseId, "touch mouse id as window_input.h has it");

}  // namespace kvr

#endif
