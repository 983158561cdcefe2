#include "paint/shapes.h"

#include <algorithm>
#include <cmath>

#include "model/geometry.h"
#include "model/palette.h"
#include "paint/hatch_masks.h"
#include "paint/mask_raster.h"
#include "text/text.h"
#include "values/frame_values.h"
#include "values/records.h"

namespace kvr::render {

namespace {

// Courses inside the current path: the path is kept for a later stroke.
void draw_hatch(const DrawContext& dc, const Node& n) {
  const Hatch& h = n.hatch;
  if (h.segments.empty()) return;
  cairo_t* cr = dc.cr;
  Rgba colour = resolve(dc.view, h.colour);
  // On an image target through a mask, the same pixels whether or not
  // the masks are kept.
  if (draws_on_image(cr)) {
    if (dc.hatch_masks != nullptr)
      dc.hatch_masks->paint(cr, n, colour);
    else
      HatchMasks::paint_once(cr, n, colour);
    return;
  }
  cairo_path_t* kept = cairo_copy_path(cr);
  cairo_save(cr);
  if (h.needs_clip) cairo_clip_preserve(cr);
  cairo_new_path(cr);
  set_rgba(cr, colour);
  if (colour.a >= 1.0) {
    // The joints and each course stroked apart are much faster; an opaque
    // colour looks the same where they cross.
    HatchMasks::stroke(cr, h);
  } else {
    for (const auto& [a, b] : h.segments) {
      cairo_move_to(cr, a.x, a.y);
      cairo_line_to(cr, b.x, b.y);
    }
    cairo_set_line_width(cr, h.line_width);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_BUTT);
    cairo_stroke(cr);
  }
  cairo_restore(cr);
  cairo_new_path(cr);
  cairo_append_path(cr, kept);
  cairo_path_destroy(kept);
}

// Fills a circle of at least 4 pixels' radius on an image target whose
// matrix scales alike both ways and moves, through a mask of the pixels it
// covers within the clip; false (nothing drawn) otherwise. Each pixel
// gets the area of it inside the circle, the same whichever part of the
// target is drawn.
bool fill_disc(cairo_t* cr, Point centre, double radius, const Rgba& colour) {
  if (!draws_on_image(cr)) return false;
  cairo_matrix_t m;
  cairo_get_matrix(cr, &m);
  double r = radius * even_scale(m);
  Point c = centre;
  cairo_matrix_transform_point(&m, &c.x, &c.y);
  if (!(r >= 4.0 && r < 1e5) || !(std::abs(c.x) < 1e8 && std::abs(c.y) < 1e8)) return false;
  double cx1 = 0.0, cy1 = 0.0, cx2 = 0.0, cy2 = 0.0;
  cairo_save(cr);
  cairo_identity_matrix(cr);
  cairo_clip_extents(cr, &cx1, &cy1, &cx2, &cy2);
  int x1 = static_cast<int>(std::floor(std::max(c.x - r - 1.0, cx1)));
  int y1 = static_cast<int>(std::floor(std::max(c.y - r - 1.0, cy1)));
  int x2 = static_cast<int>(std::ceil(std::min(c.x + r + 1.0, cx2)));
  int y2 = static_cast<int>(std::ceil(std::min(c.y + r + 1.0, cy2)));
  if (x2 > x1 && y2 > y1) {
    cairo_surface_t* mask = cairo_image_surface_create(CAIRO_FORMAT_A8, x2 - x1, y2 - y1);
    if (cairo_surface_status(mask) == CAIRO_STATUS_SUCCESS) {
      cairo_surface_flush(mask);
      over_disc({cairo_image_surface_get_data(mask), cairo_image_surface_get_stride(mask), x1, x2,
                 y1, y2},
                c, r);
      cairo_surface_mark_dirty(mask);
      paint_through(cr, mask, x1, y1, colour);
    }
    cairo_surface_destroy(mask);
  }
  cairo_restore(cr);
  return true;
}

}  // namespace

void fill_stroke(const DrawContext& dc, const Node& n) {
  cairo_t* cr = dc.cr;
  if (n.fill.set) {
    set_rgba(cr, resolve(dc.view, n.fill));
    if (n.hatch.set || n.stroke.set)
      cairo_fill_preserve(cr);
    else
      cairo_fill(cr);
  }
  if (n.hatch.set) draw_hatch(dc, n);
  if (n.stroke.set) {
    stroke_only(dc, n);
  } else {
    cairo_new_path(cr);
  }
}

void stroke_only(const DrawContext& dc, const Node& n) {
  cairo_t* cr = dc.cr;
  if (!n.stroke.set) {
    cairo_new_path(cr);
    return;
  }
  set_rgba(cr, resolve(dc.view, n.stroke));
  cairo_set_line_width(cr, n.line_width);
  // A square corner of a plain rectangle looks the same joined round or
  // mitred at these widths; mitred, Cairo strokes the outline as boxes.
  bool square = n.kind == Kind::Rect && n.radius <= 0.0 && n.dash.empty();
  cairo_set_line_join(cr, square ? CAIRO_LINE_JOIN_MITER : CAIRO_LINE_JOIN_ROUND);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  if (!n.dash.empty()) cairo_set_dash(cr, n.dash.data(), static_cast<int>(n.dash.size()), 0.0);
  cairo_stroke(cr);
  if (!n.dash.empty()) cairo_set_dash(cr, nullptr, 0, 0.0);
}

void draw_rect(const DrawContext& dc, const Node& n) {
  rounded_path(dc.cr, n.x1, n.y1, n.x2, n.y2, n.radius);
  fill_stroke(dc, n);
}

void draw_polygon(const DrawContext& dc, const Node& n) {
  points_path(dc.cr, n.points, true);
  fill_stroke(dc, n);
}

void draw_polyline(const DrawContext& dc, const Node& n) {
  points_path(dc.cr, n.points, false);
  stroke_only(dc, n);
}

void draw_circle(const DrawContext& dc, const Node& n) {
  cairo_t* cr = dc.cr;
  cairo_new_path(cr);
  if (n.fill.set && !n.hatch.set && fill_disc(cr, n.label_at, n.radius, resolve(dc.view, n.fill))) {
    if (!n.stroke.set) return;
    cairo_arc(cr, n.label_at.x, n.label_at.y, n.radius, 0.0, 2.0 * M_PI);
    stroke_only(dc, n);
    return;
  }
  cairo_arc(dc.cr, n.label_at.x, n.label_at.y, n.radius, 0.0, 2.0 * M_PI);
  fill_stroke(dc, n);
}

void draw_site_marker(const DrawContext& dc, const Node& n, bool on) {
  cairo_t* cr = dc.cr;
  Point at = n.points.empty() ? Point{} : n.points.front();
  cairo_new_path(cr);
  if (on) {
    cairo_arc(cr, at.x, at.y, 5.5, 0.0, 2.0 * M_PI);
    set_rgba(cr, {0.85, 0.20, 0.16, 0.25});
    cairo_fill(cr);
    cairo_arc(cr, at.x, at.y, 3.2, 0.0, 2.0 * M_PI);
    set_rgba(cr, {0.80, 0.16, 0.12, 1.0});
    cairo_fill_preserve(cr);
    set_rgba(cr, {1.0, 1.0, 1.0, 1.0});
    cairo_set_line_width(cr, 1.0);
    cairo_stroke(cr);
    const std::string& label = dc.values->of(n, dc.view).line(0);
    draw_text(cr, dc.fonts, label, n.label_at.x, n.label_at.y, n.size, true, Align::Left,
              kLook.text, 0.0);
    draw_text(cr, dc.fonts, n.detail, n.label_at.x, n.label_at.y - n.size * 1.3, n.size, false,
              Align::Left, kLook.muted, 0.0);
  } else {
    cairo_arc(cr, at.x, at.y, 2.2, 0.0, 2.0 * M_PI);
    set_rgba(cr, {0.45, 0.48, 0.53, 1.0});
    cairo_fill(cr);
  }
}

}  // namespace kvr::render
