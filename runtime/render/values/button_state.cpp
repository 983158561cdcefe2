#include "values/button_state.h"

#include "model/palette.h"
#include "values/records.h"

namespace kvr::render {

namespace {

bool live(const Node& n) {
  return n.style != ButtonStyle::Disabled && n.style != ButtonStyle::Inert;
}

}  // namespace

bool pointer_inside(const Node& n, const PointerLook& p, const Placement* at) {
  Box b{n.x1, n.y1, n.x2, n.y2};
  if (at != nullptr) b = at->map(b);
  return p.x > b.x1 && p.x < b.x2 && p.y > b.y1 && p.y < b.y2;
}

namespace {

int hot_in(const Node& n, const FrameView& view, const PointerLook& pointer,
           const Placement* placements, const Placement* around) {
  if (n.kind == Kind::SiteMarker) return -1;
  if (n.has_visible && !holds(n.visible, view)) return -1;
  const Placement* at = placement_of(n, placements, around);
  int hot = -1;
  if (n.kind == Kind::Button && live(n) && pointer_inside(n, pointer, at)) hot = n.button;
  for (const Node& child : n.children) {
    int h = hot_in(child, view, pointer, placements, at);
    if (h >= 0) hot = h;
  }
  return hot;
}

}  // namespace

int hot_button(const Node& n, const FrameView& view, const PointerLook& pointer,
               const Placement* placements) {
  return hot_in(n, view, pointer, placements, nullptr);
}

bool wears_focus_ring(const DrawContext& dc, const Node& n) {
  const FocusMark& focus = dc.interaction.pointer.focus;
  return n.focus >= 0 && focus.order == n.focus && focus.scope == n.focus_scope;
}

ButtonLook button_look(const DrawContext& dc, const Node& n) {
  const PointerLook& pointer = dc.interaction.pointer;
  ButtonLook look;
  look.hover = live(n) && pointer_inside(n, pointer, dc.at);
  look.pressed = look.hover && pointer.buttons == 1;
  bool hover = look.hover, pressed = look.pressed;
  look.face = kLook.button;
  look.edge = kLook.button_edge;
  look.ink = kLook.text;
  switch (n.style) {
    case ButtonStyle::Normal:
      look.face = pressed ? kLook.button_pressed : hover ? kLook.button_hover : kLook.button;
      break;
    case ButtonStyle::Accent:
      look.face = pressed ? kLook.accent_pressed : hover ? kLook.accent_hover : kLook.accent;
      look.edge = kLook.accent_pressed;
      look.ink = {1.0, 1.0, 1.0, 1.0};
      break;
    case ButtonStyle::Danger:
      look.face = pressed ? kLook.danger_pressed : hover ? kLook.danger_hover : kLook.danger;
      look.edge = kLook.danger_edge;
      break;
    case ButtonStyle::Disabled:
      look.face = kLook.disabled;
      look.edge = kLook.disabled_text;
      look.ink = kLook.disabled_text;
      break;
    case ButtonStyle::Inert:
      look.face = {0.94, 0.94, 0.93, 1.0};
      look.edge = {0.75, 0.75, 0.74, 1.0};
      look.ink = kLook.muted;
      break;
  }
  if (n.fill.set) look.face = resolve(dc.view, n.fill);
  if (n.colour.set) look.ink = resolve(dc.view, n.colour);
  return look;
}

}  // namespace kvr::render
