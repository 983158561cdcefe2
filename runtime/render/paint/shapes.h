// Drawing the plain shapes (rect, polygon, polyline, circle), their fills,
// strokes and hatching, and the map's site markers.
#ifndef KVR_RENDER_SHAPES_H
#define KVR_RENDER_SHAPES_H

#include "model/draw_context.h"
#include "model/element_model.h"

namespace kvr::render {

void draw_rect(const DrawContext& dc, const Node& n);
void draw_polygon(const DrawContext& dc, const Node& n);
void draw_polyline(const DrawContext& dc, const Node& n);
void draw_circle(const DrawContext& dc, const Node& n);

// A site marker is always drawn; its switch (`on`) only highlights it.
void draw_site_marker(const DrawContext& dc, const Node& n, bool on);

// Fills, hatches and strokes the current path as the node says; the path
// is used up.
void fill_stroke(const DrawContext& dc, const Node& n);
// Strokes the current path with the node's stroke, or drops it.
void stroke_only(const DrawContext& dc, const Node& n);

}  // namespace kvr::render

#endif
