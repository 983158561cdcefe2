// The courses of a hatch rasterised straight into an alpha mask, for the
// two shapes they are made of: level and upright lines (boxes in device
// pixels) and slanted lines (thin rectangles at an angle). Each pixel gets
// the area of it the line covers, which is what Cairo's strokes give
// within a level or two, for a small part of their cost: a stroke pays
// for the whole box around a slanted line and for setting up its mask.
#ifndef KVR_RENDER_HATCH_RASTER_H
#define KVR_RENDER_HATCH_RASTER_H

#include "element_model.h"

namespace kvr::render {

// Rows y1 (included) to y2 (excluded) of an A8 mask: `pixels` is row y1.
struct MaskRows {
  unsigned char* pixels = nullptr;
  int stride = 0;
  int width = 0;
  int y1 = 0, y2 = 0;
};

// Adds the coverage of the box x1..x2 by y1..y2 (device pixels) to the
// rows, saturating: boxes that do not overlap add up to their union.
void add_box(const MaskRows& rows, double x1, double y1, double x2, double y2);

// Composites the coverage of a line from a to b, `width` pixels wide with
// square-cut ends, over the rows, as a stroke of it would be.
void over_line(const MaskRows& rows, Point a, Point b, double width);

}  // namespace kvr::render

#endif
