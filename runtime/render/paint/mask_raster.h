// Shapes rasterised straight into an alpha mask: level and upright boxes,
// slanted lines (thin rectangles at an angle) and discs. Each pixel gets
// the area of it the shape covers, closer to the true area than Cairo's
// own fills and strokes (which sample each pixel row at a few heights) and
// for a small part of their cost: a stroke of a slanted line pays for the
// whole box around it, and every fill for setting up a mask of its own.
// The hatch's courses and the scene's circles are drawn this way on image
// targets, then painted through their mask in their colour.
#ifndef KVR_RENDER_MASK_RASTER_H
#define KVR_RENDER_MASK_RASTER_H

#include <cairo.h>

#include "model/element_model.h"

namespace kvr::render {

// The part of an A8 mask from column x1 and row y1 (included) to column x2
// and row y2 (excluded), in the coordinates the shapes are given in:
// `pixels` is pixel (x1, y1).
struct MaskRows {
  unsigned char* pixels = nullptr;
  int stride = 0;
  int x1 = 0, x2 = 0;
  int y1 = 0, y2 = 0;
};

// Adds the coverage of the box x1..x2 by y1..y2 to the mask, saturating:
// boxes that do not overlap add up to their union.
void add_box(const MaskRows& rows, double x1, double y1, double x2, double y2);

// Composites the coverage of a line from a to b, `width` wide with
// square-cut ends, over the mask, as a stroke of it would be.
void over_line(const MaskRows& rows, Point a, Point b, double width);

// Composites the coverage of the disc of radius r around c over the mask.
void over_disc(const MaskRows& rows, Point c, double r);

// Whether `cr` draws into an image (a group pushed over one included).
bool draws_on_image(cairo_t* cr);

// The scale of a matrix that only scales alike both ways and moves, under
// which level lines stay level and circles round; 0 for any other.
double even_scale(const cairo_matrix_t& m);

// Paints `colour` through an A8 mask whose first pixel lies at device
// pixel (x, y).
void paint_through(cairo_t* cr, cairo_surface_t* mask, int x, int y, const Rgba& colour);

}  // namespace kvr::render

#endif
