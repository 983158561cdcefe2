#include "widgets/button_roles.h"

#include <cmath>

#include "values/button_state.h"
#include "values/records.h"

namespace kvr::render {

namespace {

bool live(const Node& n) {
  return n.style != ButtonStyle::Disabled && n.style != ButtonStyle::Inert;
}

void find(const Node& n, const FrameView& view, const PointerLook& at, const Node*& found) {
  if (n.kind == Kind::SiteMarker) return;
  if (n.has_visible && !holds(n.visible, view)) return;
  if (n.kind == Kind::Button && live(n) && pointer_inside(n, at)) found = &n;
  for (const Node& child : n.children) find(child, view, at, found);
}

}  // namespace

const Node* button_at(const std::vector<Node>& nodes, const FrameView& view, std::int32_t x,
                      std::int32_t y) {
  const Node* found = nullptr;
  if (view.scene == nullptr) return found;
  PointerLook at{x, y, 0, {}};
  for (const Node& n : nodes) find(n, view, at, found);
  return found;
}

ButtonAction action_at(const std::vector<Node>& nodes, const FrameView& view, std::int32_t x,
                       std::int32_t y) {
  const Node* button = button_at(nodes, view, x, y);
  return button != nullptr ? button->action : ButtonAction{};
}

void press_point(const Node& button, std::int32_t& x, std::int32_t& y) {
  x = static_cast<std::int32_t>(std::floor((button.x1 + button.x2) / 2.0));
  y = static_cast<std::int32_t>(std::floor((button.y1 + button.y2) / 2.0));
  // A box one unit wide has no whole point strictly inside; the middle is
  // the best there is.
  if (x <= button.x1 && button.x2 - button.x1 > 1.0) x = static_cast<std::int32_t>(button.x1) + 1;
  if (y <= button.y1 && button.y2 - button.y1 > 1.0) y = static_cast<std::int32_t>(button.y1) + 1;
}

}  // namespace kvr::render
