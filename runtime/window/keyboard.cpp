#include "keyboard.h"

namespace kvr {

KeyAction key_action(Key key, bool shift, bool repeat) {
  using Kind = KeyAction::Kind;
  if (repeat && key != Key::Tab) return {};
  switch (key) {
    case Key::Escape:
      return {Kind::EndRun, Command::PinReference};
    case Key::F11:
      return {Kind::Fullscreen, Command::PinReference};
    case Key::F12:
      return {Kind::Screenshot, Command::PinReference};
    case Key::F5:
      return {Kind::RunCommand, shift ? Command::ClearReference : Command::PinReference};
    case Key::F7:
      return {Kind::RunCommand, Command::TogglePalette};
    case Key::F10:
      return {Kind::RunCommand, Command::WriteReport};
    case Key::Tab:
      return {Kind::RunCommand, shift ? Command::FocusPrevious : Command::FocusNext};
    case Key::Enter:
    case Key::Space:
      return {Kind::Activate, Command::PinReference};
    case Key::Other:
      break;
  }
  return {};
}

}  // namespace kvr
