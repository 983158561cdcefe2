// Shape geometry: outlines as Cairo paths, and the brick and log courses
// (hatching) laid inside a shape once, when the scene is compiled.
#ifndef KVR_RENDER_GEOMETRY_H
#define KVR_RENDER_GEOMETRY_H

#include <cairo.h>

#include <vector>

#include "model/element_model.h"

namespace kvr::render {

bool convex(const std::vector<Point>& pts);

// Cuts the segment a..b to a convex polygon (Cyrus-Beck); false when
// nothing of it is inside.
bool clip_to_convex(const std::vector<Point>& poly, Point& a, Point& b);

// Courses (lines every `spacing` along `slope`) and staggered joints over
// the shape's outline, into h.segments, the horizontal and vertical ones
// first.
void lay_hatch(Hatch& h, const std::vector<Point>& outline);

// A new path: the rectangle x1..x2, y1..y2 with corners rounded by r
// (at most half a side).
void rounded_path(cairo_t* cr, double x1, double y1, double x2, double y2, double r);

// A new path through the points, closed or open.
void points_path(cairo_t* cr, const std::vector<Point>& pts, bool close);

}  // namespace kvr::render

#endif
