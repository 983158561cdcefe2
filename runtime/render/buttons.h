// Buttons: which one the pointer lights (hit lookup, the same rule the
// program uses: strictly inside the box) and drawing each in its state,
// with the keyboard's focus ring.
#ifndef KVR_RENDER_BUTTONS_H
#define KVR_RENDER_BUTTONS_H

#include "draw_context.h"
#include "element_model.h"

namespace kvr::render {

// Strictly inside the node's box: the borders are outside.
bool pointer_inside(const Node& n, const PointerLook& p);

// The topmost visible live button under the pointer in this subtree, or -1.
int hot_button(const Node& n, const FrameView& view, const PointerLook& pointer);

// The state a button is drawn in and its colours.
struct ButtonLook {
  bool hover = false;
  bool pressed = false;
  Rgba face, edge, ink;
};
ButtonLook button_look(const DrawContext& dc, const Node& n);

// Whether the button wears the keyboard's focus ring: a stroke of
// kFocusRingWidth centred one unit outside its box.
bool wears_focus_ring(const DrawContext& dc, const Node& n);
inline constexpr double kFocusRingWidth = 2.0;

void draw_button(const DrawContext& dc, const Node& n);

}  // namespace kvr::render

#endif
