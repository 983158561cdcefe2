// The painter's dispatch: walks the compiled elements in order, skips the
// hidden ones, applies group transforms (slide, fade) and hands each element
// to the file that draws its kind.
#ifndef KVR_RENDER_PAINTER_H
#define KVR_RENDER_PAINTER_H

#include "draw_context.h"
#include "element_model.h"

namespace kvr::render {

class LayerCaches;

class Painter {
 public:
  // `layers` keeps layer groups as pictures; nullptr draws every group
  // directly.
  Painter(const DrawContext& dc, LayerCaches* layers) : dc_(dc), layers_(layers) {}

  void node(const Node& n);

 private:
  void group(const Node& n);

  const DrawContext& dc_;
  LayerCaches* layers_;
};

}  // namespace kvr::render

#endif
