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

// Strictly inside the node's box as drawn (placed by `at` when it lies in
// a result view of the grid): the borders are outside.
bool pointer_inside(const Node& n, const PointerLook& p, const Placement* at = nullptr);

// The topmost visible live button under the pointer in this subtree, or -1;
// `placements`: where the grid's result views are (nullptr: as drawn in
// the scene).
int hot_button(const Node& n, const FrameView& view, const PointerLook& pointer,
               const Placement* placements = nullptr);

// The placement of the element `n` when it is a result view of the grid,
// else `around` (the placement of the view it lies in, or nullptr).
inline const Placement* placement_of(const Node& n, const Placement* placements,
                                     const Placement* around) {
  return n.grid_view >= 0 && placements != nullptr ? &placements[n.grid_view] : around;
}

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
