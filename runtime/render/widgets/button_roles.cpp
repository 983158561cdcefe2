#include "widgets/button_roles.h"

#include <cmath>

#include "values/button_state.h"
#include "values/records.h"

namespace kvr::render {

namespace {

bool live(const Node& n) {
  return n.style != ButtonStyle::Disabled && n.style != ButtonStyle::Inert;
}

void find(const Node& n, const FrameView& view, const PointerLook& point,
          const Placement* placements, const Placement* around, const Node*& found) {
  if (n.kind == Kind::SiteMarker) return;
  if (n.has_visible && !holds(n.visible, view)) return;
  const Placement* at = placement_of(n, placements, around);
  if (n.kind == Kind::Button && live(n) && pointer_inside(n, point, at)) found = &n;
  for (const Node& child : n.children) find(child, view, point, placements, at, found);
}

}  // namespace

const Node* button_at(const std::vector<Node>& nodes, const FrameView& view, std::int32_t x,
                      std::int32_t y, const Placement* placements) {
  const Node* found = nullptr;
  if (view.scene == nullptr) return found;
  PointerLook point{x, y, 0, {}};
  for (const Node& n : nodes) find(n, view, point, placements, nullptr, found);
  return found;
}

ButtonAction action_at(const std::vector<Node>& nodes, const FrameView& view, std::int32_t x,
                       std::int32_t y, const Placement* placements) {
  const Node* button = button_at(nodes, view, x, y, placements);
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
