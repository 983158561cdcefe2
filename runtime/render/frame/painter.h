// The painter's dispatch: walks the compiled elements in order, skips the
// hidden ones (and, in a frame drawn by its changes, the ones outside the
// damage), applies group transforms (slide, fade) and layer regions and
// hands each element to the file that draws its kind.
#ifndef KVR_RENDER_PAINTER_H
#define KVR_RENDER_PAINTER_H

#include "model/draw_context.h"
#include "model/element_model.h"

namespace kvr::render {

class Painter {
 public:
  explicit Painter(const DrawContext& dc) : dc_(dc) {}

  void node(const Node& n);

 private:
  // The element by its kind, once it is known to be drawn.
  void draw(const Node& n);
  void group(const Node& n);
  void children(const Node& n);

  const DrawContext& dc_;
};

// A region of the main scene drawn on the report page (scene_region.cpp).
void draw_scene_region(const DrawContext& dc, const Node& n);

// Resets what a drawing function may rely on without setting it itself:
// the line cap and join, the line width and no dash.
void plain_strokes(cairo_t* cr);

}  // namespace kvr::render

#endif
