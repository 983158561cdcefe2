#include "paint/hatch_masks.h"

#include <algorithm>
#include <cmath>

#include "model/geometry.h"
#include "paint/mask_raster.h"

namespace kvr::render {

HatchMasks::HatchMasks(int slots) {
  // Every slot's mask exists from the start: making one on first use
  // would race between two painting threads.
  for (int i = 0; i < slots; ++i) masks_.push_back(std::make_unique<Mask>());
}

HatchMasks::Mask::~Mask() {
  if (surface != nullptr) cairo_surface_destroy(surface);
}

void HatchMasks::stroke(cairo_t* cr, const Hatch& h) {
  cairo_set_line_width(cr, h.line_width);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_BUTT);
  auto segment = [cr](const std::pair<Point, Point>& s) {
    cairo_move_to(cr, s.first.x, s.first.y);
    cairo_line_to(cr, s.second.x, s.second.y);
  };
  // Cairo strokes a path of only horizontal and vertical lines as boxes,
  // many times faster than one with a slanted line in it.
  auto slanted = h.segments.begin() + static_cast<std::ptrdiff_t>(h.rectilinear);
  std::for_each(h.segments.begin(), slanted, segment);
  cairo_stroke(cr);
  for (auto it = slanted; it != h.segments.end(); ++it) {
    segment(*it);
    cairo_stroke(cr);
  }
}

namespace {

// The mask fits the matrix when only a whole-pixel move lies between them.
bool fits(const cairo_matrix_t& a, const cairo_matrix_t& b, int* dx, int* dy) {
  if (a.xx != b.xx || a.yx != b.yx || a.xy != b.xy || a.yy != b.yy) return false;
  double mx = b.x0 - a.x0, my = b.y0 - a.y0;
  if (std::floor(mx) != mx || std::floor(my) != my) return false;
  *dx = static_cast<int>(mx);
  *dy = static_cast<int>(my);
  return true;
}

// Rasterises the courses into the mask's rows straight, when the matrix
// only scales alike both ways and moves: level and upright lines stay
// boxes, and every line keeps its width.
bool rasterise(const cairo_matrix_t& m, const Hatch& h, const MaskRows& rows) {
  double scale = even_scale(m);
  if (scale == 0.0) return false;
  auto device = [&m](Point p) {
    cairo_matrix_transform_point(&m, &p.x, &p.y);
    return p;
  };
  double half = h.line_width * scale / 2.0;
  for (std::size_t i = 0; i < h.segments.size(); ++i) {
    Point p = device(h.segments[i].first), q = device(h.segments[i].second);
    if (i >= h.rectilinear) {
      over_line(rows, p, q, h.line_width * scale);
    } else if (p.y == q.y) {
      add_box(rows, std::min(p.x, q.x), p.y - half, std::max(p.x, q.x), p.y + half);
    } else {
      add_box(rows, p.x - half, std::min(p.y, q.y), p.x + half, std::max(p.y, q.y));
    }
  }
  return true;
}

}  // namespace

// Draws mask rows a to b (excluded) of n's courses: straight into those
// rows, or through a surface over them alone, shifted so that every course
// lands where it would on the whole mask.
void HatchMasks::draw_rows(Mask& mask, const Node& n, int a, int b) {
  cairo_matrix_t to_mask = mask.matrix;
  to_mask.x0 -= mask.x;
  to_mask.y0 -= mask.y;
  unsigned char* first = cairo_image_surface_get_data(mask.surface);
  MaskRows rows{
      first + static_cast<std::ptrdiff_t>(a) * mask.stride, mask.stride, 0, mask.width, a, b};
  // A shape that is not convex clips its courses: Cairo then strokes them.
  if (!n.hatch.needs_clip && rasterise(to_mask, n.hatch, rows)) return;
  cairo_surface_t* surface = cairo_image_surface_create_for_data(rows.pixels, CAIRO_FORMAT_A8,
                                                                 mask.width, b - a, mask.stride);
  cairo_surface_set_device_offset(surface, 0.0, -a);
  cairo_t* mc = cairo_create(surface);
  cairo_set_matrix(mc, &to_mask);
  if (n.hatch.needs_clip) {
    if (n.kind == Kind::Rect)
      rounded_path(mc, n.x1, n.y1, n.x2, n.y2, n.radius);
    else
      points_path(mc, n.points, true);
    cairo_clip(mc);
  }
  cairo_set_source_rgba(mc, 0.0, 0.0, 0.0, 1.0);
  stroke(mc, n.hatch);
  cairo_destroy(mc);
  cairo_surface_flush(surface);
  cairo_surface_destroy(surface);
}

// Makes `mask` for n's courses under matrix m, all its rows blank: it
// spans the shape's box and the lines' half width, in whole device pixels.
bool HatchMasks::make(Mask& mask, const Node& n, const cairo_matrix_t& m) {
  const Box& b = n.ink;
  double xs[4] = {b.x1, b.x2, b.x1, b.x2}, ys[4] = {b.y1, b.y1, b.y2, b.y2};
  double x1 = 1e18, y1 = 1e18, x2 = -1e18, y2 = -1e18;
  for (int i = 0; i < 4; ++i) {
    double x = xs[i], y = ys[i];
    cairo_matrix_transform_point(&m, &x, &y);
    x1 = std::min(x1, x);
    y1 = std::min(y1, y);
    x2 = std::max(x2, x);
    y2 = std::max(y2, y);
  }
  // A shape far off the target (or not a number) has no mask.
  for (double v : {x1, y1, x2, y2})
    if (!(std::abs(v) < 1e9)) return false;
  int x = static_cast<int>(std::floor(x1)) - 1, y = static_cast<int>(std::floor(y1)) - 1;
  int w = static_cast<int>(std::ceil(x2)) + 1 - x, h = static_cast<int>(std::ceil(y2)) + 1 - y;
  if (w < 1 || h < 1 || w > 16384 || h > 16384) return false;
  if (mask.surface != nullptr) cairo_surface_destroy(mask.surface);
  mask.surface = cairo_image_surface_create(CAIRO_FORMAT_A8, w, h);
  if (cairo_surface_status(mask.surface) != CAIRO_STATUS_SUCCESS) {
    cairo_surface_destroy(mask.surface);
    mask.surface = nullptr;
    return false;
  }
  // Its rows are drawn straight or through other surfaces over its pixels:
  // Cairo must not take it for the clear surface it was made as.
  cairo_surface_flush(mask.surface);
  cairo_surface_mark_dirty(mask.surface);
  mask.matrix = m;
  mask.x = x;
  mask.y = y;
  mask.width = w;
  mask.stride = cairo_image_surface_get_stride(mask.surface);
  mask.rows.assign(static_cast<std::size_t>(h), Row::Blank);
  return true;
}

// The rows of a mask placed at device row `at_y` that the clip of `cr`
// lets through.
std::pair<int, int> HatchMasks::needed_rows(cairo_t* cr, const Mask& mask, int at_y) {
  double cx1 = 0.0, cy1 = 0.0, cx2 = 0.0, cy2 = 0.0;
  cairo_save(cr);
  cairo_identity_matrix(cr);
  cairo_clip_extents(cr, &cx1, &cy1, &cx2, &cy2);
  cairo_restore(cr);
  int h = static_cast<int>(mask.rows.size());
  return {std::clamp(static_cast<int>(std::floor(cy1)) - at_y, 0, h),
          std::clamp(static_cast<int>(std::ceil(cy2)) - at_y, 0, h)};
}

void HatchMasks::paint(cairo_t* cr, const Node& n, const Rgba& colour) {
  if (n.slot < 0 || static_cast<std::size_t>(n.slot) >= masks_.size()) return;
  Mask& mask = *masks_[static_cast<std::size_t>(n.slot)];
  std::unique_lock<std::mutex> lock(mask.mutex);
  cairo_matrix_t m;
  cairo_get_matrix(cr, &m);
  int dx = 0, dy = 0;
  if (mask.surface == nullptr || !fits(mask.matrix, m, &dx, &dy)) {
    if (!make(mask, n, m)) return;
    dx = dy = 0;
  }
  int at_x = mask.x + dx, at_y = mask.y + dy;
  // Only the rows the clip lets through are needed: a frame painted in
  // bands draws each band's rows of the mask on its own thread.
  auto [need1, need2] = needed_rows(cr, mask, at_y);
  auto row = [&mask](int r) -> Row& { return mask.rows[static_cast<std::size_t>(r)]; };
  for (int r = need1; r < need2;) {
    if (row(r) != Row::Blank) {
      ++r;
      continue;
    }
    int end = r;
    while (end < need2 && row(end) == Row::Blank) row(end++) = Row::Drawing;
    lock.unlock();
    draw_rows(mask, n, r, end);
    lock.lock();
    for (int i = r; i < end; ++i) row(i) = Row::Drawn;
    mask.drawn.notify_all();
    r = end;
  }
  // Rows the other thread is drawing (never those of this thread's band).
  mask.drawn.wait(lock, [&, need1 = need1, need2 = need2] {
    for (int r = need1; r < need2; ++r)
      if (row(r) != Row::Drawn) return false;
    return true;
  });
  cairo_surface_t* surface = cairo_surface_reference(mask.surface);
  lock.unlock();
  paint_through(cr, surface, at_x, at_y, colour);
  cairo_surface_destroy(surface);
}

void HatchMasks::paint_once(cairo_t* cr, const Node& n, const Rgba& colour) {
  Mask mask;
  cairo_matrix_t m;
  cairo_get_matrix(cr, &m);
  if (!make(mask, n, m)) return;
  auto [need1, need2] = needed_rows(cr, mask, mask.y);
  if (need1 < need2) draw_rows(mask, n, need1, need2);
  paint_through(cr, mask.surface, mask.x, mask.y, colour);
}

}  // namespace kvr::render
