// A region of the main scene drawn on the report page: the elements of the
// screen as they are now, cut to the source box and fitted into the
// element's box with their aspect kept. Drawn with the page's context:
// every element, hatching stroked, so vectors stay vectors.
#include <algorithm>

#include "frame/painter.h"
#include "values/frame_values.h"

namespace kvr::render {

void draw_scene_region(const DrawContext& dc, const Node& n) {
  if (n.source_nodes == nullptr) return;
  double sw = n.sx2 - n.sx1, sh = n.sy2 - n.sy1;
  double bw = n.x2 - n.x1, bh = n.y2 - n.y1;
  if (sw <= 0.0 || sh <= 0.0 || bw <= 0.0 || bh <= 0.0) return;
  double s = std::min(bw / sw, bh / sh);
  cairo_t* cr = dc.cr;
  cairo_save(cr);
  cairo_translate(cr, n.x1 + (bw - s * sw) / 2.0, n.y1 + (bh - s * sh) / 2.0);
  cairo_scale(cr, s, s);
  cairo_translate(cr, -n.sx1, -n.sy1);
  cairo_new_path(cr);
  cairo_rectangle(cr, n.sx1, n.sy1, sw, sh);
  cairo_clip(cr);
  // The screen's elements number their slots apart from the page's: they
  // keep their values apart.
  FrameValues values;
  DrawContext screen = dc;
  screen.values = &values;
  Painter painter(screen);
  for (const Node& child : *n.source_nodes) painter.node(child);
  cairo_restore(cr);
}

}  // namespace kvr::render
