// What every drawing function of the renderer is handed: the Cairo context
// (any surface: the window's pixels, a PNG, a vector file), the records to
// read, the clock, the fonts, the pointer's interaction with the buttons
// and, for a frame drawn by its changes, which elements it needs.
#ifndef KVR_RENDER_DRAW_CONTEXT_H
#define KVR_RENDER_DRAW_CONTEXT_H

#include <cairo.h>

#include <vector>

#include "backend.h"
#include "model/device.h"

namespace kvr::render {

class Fonts;
class FrameValues;
class HatchMasks;
struct Placement;

// How the user is interacting with the scene's buttons. Never changes what
// the program sees.
struct Interaction {
  PointerLook pointer;
};

// A frame drawn by its changes draws only the elements whose pixels meet
// the damaged rectangles (everything else is clipped away anyway).
struct Culling {
  const std::vector<DeviceRect>* damage = nullptr;
  const std::vector<DeviceRect>* rects = nullptr;  // each drawn element's pixels, by slot

  bool needs(int slot) const;
};

struct DrawContext {
  cairo_t* cr = nullptr;
  const FrameView& view;
  double now = 0.0;
  Interaction interaction;
  const Fonts& fonts;
  const Culling* culling = nullptr;   // nullptr: draw everything
  HatchMasks* hatch_masks = nullptr;  // nullptr: none kept, each made for one paint
  FrameValues* values = nullptr;      // what each element shows in this frame
  // Where the layout step put each result view of the grid in this frame
  // (by Node::grid_view; nullptr: where the scene drew them), and the
  // placement around the element being drawn (nullptr: none).
  const Placement* placements = nullptr;
  const Placement* at = nullptr;
};

}  // namespace kvr::render

#endif
