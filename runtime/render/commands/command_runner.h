// Runs the runtime's commands for a backend: pinning and clearing the
// reference, writing the report, moving the keyboard focus, opening the
// house's views, stepping the humidity they assume and switching the
// palette. The window runs
// them for its keys and runtime-owned buttons, the headless backend from
// its `commands` setting.
#ifndef KVR_RENDER_COMMAND_RUNNER_H
#define KVR_RENDER_COMMAND_RUNNER_H

#include <ostream>
#include <string>
#include <vector>

#include "backend.h"
#include "commands.h"
#include "model/element_model.h"
#include "widgets/focus_navigator.h"

namespace kvr::render {

class CommandRunner {
 public:
  // `reference` may be nullptr (then pinning does nothing); reports go to
  // `report_folder`; messages to `errors`.
  CommandRunner(Reference* reference, std::string report_folder, std::ostream& errors);

  // Runs `command` on what `view` shows; `nodes` are the scene's compiled
  // elements (for the focus). True when what is drawn may have changed.
  bool run(Command command, const FrameView& view, const std::vector<Node>& nodes);

  // The humidity and palette the settings give, and the settings file a
  // changed one is kept in.
  void use_settings(const Settings& settings);
  const HouseViews& house_views() const { return house_views_; }

  FocusNavigator& focus() { return focus_; }
  const FocusNavigator& focus() const { return focus_; }

 private:
  Reference* reference_;
  std::string report_folder_;
  std::ostream& errors_;
  FocusNavigator focus_;
  HouseViews house_views_;
  std::string settings_file_;
};

}  // namespace kvr::render

#endif
