#include "runtime_controls.h"

#include "widgets/button_roles.h"
#include "widgets/focus_navigator.h"

namespace kvr {

RuntimeControls::RuntimeControls(Reference* reference, std::string report_folder,
                                 std::ostream& errors)
    : runner_(reference, std::move(report_folder), errors) {}

bool RuntimeControls::key(const KeyAction& action, const FrameView& view,
                          const SceneRenderer& renderer, PointerInput& input) {
  if (view.scene == nullptr) return false;
  if (action.kind == KeyAction::Kind::RunCommand)
    return runner_.run(action.command, view, renderer.nodes());
  if (action.kind == KeyAction::Kind::Activate) return activate(view, renderer, input);
  return false;
}

bool RuntimeControls::command(Command command, const FrameView& view,
                              const SceneRenderer& renderer) {
  if (view.scene == nullptr) return false;
  return runner_.run(command, view, renderer.nodes());
}

bool RuntimeControls::activate(const FrameView& view, const SceneRenderer& renderer,
                               PointerInput& input) {
  render::FocusNavigator& focus = runner_.focus();
  if (!focus.ring_shown()) {
    // Nothing is clicked that the user cannot see: the first Enter only
    // brings the ring back.
    focus.show_ring();
    return true;
  }
  render::FocusReach reach = render::reachable_focusables(renderer.nodes(), view);
  const render::Focusable* target = focus.focused(reach);
  if (target == nullptr) return false;
  const render::ButtonAction& action = target->node->action;
  std::int32_t x = 0, y = 0;
  render::press_point(*target->node, x, y);
  switch (action.kind) {
    case render::ButtonAction::Kind::Program:
      input.click(x, y, 1);
      return false;
    case render::ButtonAction::Kind::PressAs:
      if (action.at_point) {
        x = action.x;
        y = action.y;
      }
      input.click(x, y, action.state);
      return false;
    case render::ButtonAction::Kind::Command:
      return runner_.run(action.command, view, renderer.nodes());
  }
  return false;
}

FocusMark RuntimeControls::focus_mark(const FrameView& view, const SceneRenderer& renderer) {
  if (!runner_.focus().ring_shown() || view.scene == nullptr) return {};
  render::FocusReach reach = render::reachable_focusables(renderer.nodes(), view);
  runner_.focus().enter(reach);
  return runner_.focus().mark(reach);
}

}  // namespace kvr
