// The state of a button in a frame: which one the pointer lights (hit
// lookup, the same rule the program uses: strictly inside the box),
// whether it is pressed or wears the focus ring, and its colours then.
#ifndef KVR_RENDER_VALUES_BUTTON_STATE_H
#define KVR_RENDER_VALUES_BUTTON_STATE_H

#include "backend.h"
#include "model/device.h"
#include "model/draw_context.h"
#include "model/element_model.h"

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

}  // namespace kvr::render

#endif
