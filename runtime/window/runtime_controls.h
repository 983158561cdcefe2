// The window's runtime-owned controls: the keys that run commands and move
// the focus ring, Enter and Space on the focused control, and the scene's
// command buttons. Kept out of the window backend so that it only hands
// events over.
#ifndef KVR_WINDOW_RUNTIME_CONTROLS_H
#define KVR_WINDOW_RUNTIME_CONTROLS_H

#include <ostream>
#include <string>

#include "backend.h"
#include "commands/command_runner.h"
#include "frame/scene_renderer.h"
#include "keyboard.h"
#include "window_input.h"

namespace kvr {

class RuntimeControls {
 public:
  RuntimeControls(Reference* reference, std::string report_folder, std::ostream& errors);

  // A key that runs a command or clicks the focused control (the others are
  // the window's own). True when what is drawn may have changed.
  bool key(const KeyAction& action, const FrameView& view, const SceneRenderer& renderer,
           PointerInput& input);
  // A click on a command button of the scene.
  bool command(Command command, const FrameView& view, const SceneRenderer& renderer);
  // A mouse press hides the ring, as desktop toolkits do.
  void pointer_pressed() { runner_.focus().hide_ring(); }

  // The runtime's views of the house, with the humidity and the palette
  // from the settings.
  const HouseViews& house_views() const { return runner_.house_views(); }
  void use_settings(const Settings& settings) { runner_.use_settings(settings); }

  // The ring to draw now (a scope just opened gets its first control).
  FocusMark focus_mark(const FrameView& view, const SceneRenderer& renderer);

 private:
  // Enter or Space: a program button gets a press inside its rectangle with
  // state 1 and the release, a press_as button its state, a command button
  // runs its command. The ring stays where it is.
  bool activate(const FrameView& view, const SceneRenderer& renderer, PointerInput& input);

  render::CommandRunner runner_;
};

}  // namespace kvr

#endif
