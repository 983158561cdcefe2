#include "buttons.h"

#include <algorithm>

#include "geometry.h"
#include "palette.h"
#include "records.h"
#include "text.h"

namespace kvr::render {

namespace {

bool live(const Node& n) {
  return n.style != ButtonStyle::Disabled && n.style != ButtonStyle::Inert;
}

}  // namespace

bool pointer_inside(const Node& n, const PointerLook& p) {
  return p.x > n.x1 && p.x < n.x2 && p.y > n.y1 && p.y < n.y2;
}

int hot_button(const Node& n, const FrameView& view, const PointerLook& pointer) {
  if (n.kind == Kind::SiteMarker) return -1;
  if (n.has_visible && !holds(n.visible, view)) return -1;
  int hot = -1;
  if (n.kind == Kind::Button && live(n) && pointer_inside(n, pointer)) hot = n.button;
  for (const Node& child : n.children) {
    int h = hot_button(child, view, pointer);
    if (h >= 0) hot = h;
  }
  return hot;
}

bool wears_focus_ring(const DrawContext& dc, const Node& n) {
  const FocusMark& focus = dc.interaction.pointer.focus;
  return n.focus >= 0 && focus.order == n.focus && focus.scope == n.focus_scope;
}

ButtonLook button_look(const DrawContext& dc, const Node& n) {
  const PointerLook& pointer = dc.interaction.pointer;
  ButtonLook look;
  look.hover = live(n) && pointer_inside(n, pointer);
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

void draw_button(const DrawContext& dc, const Node& n) {
  cairo_t* cr = dc.cr;
  ButtonLook look = button_look(dc, n);
  double r = n.radius > 0.0 ? n.radius : 3.0;
  // The outline as the ring between two rounded boxes: two fills cost
  // less than a stroke of the rounded path and cover the same pixels.
  double half = (look.hover ? 1.6 : 1.0) / 2.0;
  double inset = 0.5;
  rounded_path(cr, n.x1 + inset - half, n.y1 + inset - half, n.x2 - inset + half,
               n.y2 - inset + half, r + half);
  set_rgba(cr, look.edge);
  cairo_fill(cr);
  rounded_path(cr, n.x1 + inset + half, n.y1 + inset + half, n.x2 - inset - half,
               n.y2 - inset - half, std::max(0.0, r - half));
  set_rgba(cr, look.face);
  cairo_fill(cr);
  std::string caption = compose(dc.view, n.text);
  double shift = look.pressed ? -1.0 : 0.0;
  draw_text(cr, dc.fonts, caption, (n.x1 + n.x2) / 2.0,
            centred_baseline((n.y1 + n.y2) / 2.0, n.size) + shift, n.size, n.bold, Align::Center,
            look.ink, n.x2 - n.x1 - 4.0);
  if (wears_focus_ring(dc, n)) {
    // The ring hugs the button just outside its edge (ink_bounds.cpp holds
    // it), so that no layer region around a button cuts it.
    rounded_path(cr, n.x1 - 1.0, n.y1 - 1.0, n.x2 + 1.0, n.y2 + 1.0, r + 1.0);
    set_rgba(cr, kLook.focus_ring);
    cairo_set_line_width(cr, kFocusRingWidth);
    cairo_stroke(cr);
  }
}

}  // namespace kvr::render
