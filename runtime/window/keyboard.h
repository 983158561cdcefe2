// What the window's keys do, apart from the window system: Escape ends the
// run, F11 and F12 are the window's own (full screen, screenshot), F5 pins
// the reference (Shift+F5 clears it), F7 switches the palette, F10 writes
// the report, Tab and Shift+Tab move the focus ring, Enter and Space click
// the focused control.
#ifndef KVR_WINDOW_KEYBOARD_H
#define KVR_WINDOW_KEYBOARD_H

#include <cstdint>

#include "commands.h"

namespace kvr {

enum class Key : std::uint8_t { Other, Escape, Tab, Enter, Space, F5, F7, F10, F11, F12 };

struct KeyAction {
  enum class Kind : std::uint8_t {
    None,  // a key with no meaning of its own (it still dismisses a page)
    EndRun,
    Fullscreen,
    Screenshot,
    RunCommand,  // `command`
    Activate,    // click the focused control
  };
  Kind kind = Kind::None;
  Command command = Command::PinReference;
};

// `repeat`: the key is held and the system repeats it; only Tab repeats.
KeyAction key_action(Key key, bool shift, bool repeat);

}  // namespace kvr

#endif
