#include "paint/mask_raster.h"

#include <algorithm>
#include <cmath>

namespace kvr::render {

namespace {

// a * b / 255, rounded, for a and b in 0..255.
int times_255ths(int a, int b) {
  int t = a * b + 128;
  return (t + (t >> 8)) >> 8;
}

// Pixel (x, y) of the mask.
unsigned char& at(const MaskRows& rows, long x, long y) {
  return rows.pixels[(y - rows.y1) * rows.stride + (x - rows.x1)];
}

// Composites a coverage of c (0..255) over a pixel.
void over(unsigned char& m, int c) {
  m = static_cast<unsigned char>(std::min(255, c + times_255ths(m, 255 - c)));
}

// The area of a pixel-sized square centred on the origin on the side of a
// line where (x, y) . (nx, ny) <= d, for a unit normal (nx, ny): its
// constants worked out once per direction.
class SquareArea {
 public:
  SquareArea(double nx, double ny)
      : a_(std::min(std::abs(nx), std::abs(ny))), b_(std::max(std::abs(nx), std::abs(ny))) {
    corner_ = (a_ + b_) / 2.0;
    side_ = (b_ - a_) / 2.0;
    twice_ab_ = 2.0 * a_ * b_;
  }
  // Beyond `corner` the line misses the square; within `side` it crosses
  // two opposite sides of it.
  double operator()(double d) const {
    if (d <= -corner_) return 0.0;
    if (d >= corner_) return 1.0;
    if (d < -side_) return (d + corner_) * (d + corner_) / twice_ab_;
    if (d > side_) return 1.0 - (corner_ - d) * (corner_ - d) / twice_ab_;
    return 0.5 + d / b_;
  }
  double corner() const { return corner_; }

 private:
  double a_, b_, corner_ = 0.0, side_ = 0.0, twice_ab_ = 0.0;
};

// v within lo..hi, as a whole number: a bound kept within the mask before
// it becomes a pixel.
int within(double v, int lo, int hi) {
  return static_cast<int>(std::clamp(v, static_cast<double>(lo), static_cast<double>(hi)));
}

}  // namespace

void add_box(const MaskRows& rows, double x1, double y1, double x2, double y2) {
  // Within the rows first (nothing of a box that is not a number), then
  // edges in 1/256 pixel, as Cairo takes them; coverage in whole units.
  x1 = std::max(x1, static_cast<double>(rows.x1));
  x2 = std::min(x2, static_cast<double>(rows.x2));
  y1 = std::max(y1, static_cast<double>(rows.y1));
  y2 = std::min(y2, static_cast<double>(rows.y2));
  if (!(x1 < x2) || !(y1 < y2)) return;
  auto fixed = [](double v) { return static_cast<long>(std::lround(v * 256.0)); };
  long fx1 = fixed(x1), fx2 = fixed(x2), fy1 = fixed(y1), fy2 = fixed(y2);
  if (fx1 >= fx2 || fy1 >= fy2) return;
  long px1 = fx1 >> 8, px2 = (fx2 + 255) >> 8;
  long py1 = fy1 >> 8, py2 = (fy2 + 255) >> 8;
  // The share of each column, in 1/256: only the first and the last can
  // be partly covered.
  long first = std::min(fx2, (px1 + 1) * 256) - fx1;
  long last = fx2 - std::max(fx1, (px2 - 1) * 256);
  auto add = [](unsigned char& m, long cx, long cy) {
    long v = m + ((cx * cy * 255 + 32768) >> 16);
    m = static_cast<unsigned char>(std::min(v, 255L));
  };
  for (long py = py1; py < py2; ++py) {
    long cy = std::min(fy2, (py + 1) * 256) - std::max(fy1, py * 256);
    add(at(rows, px1, py), first, cy);
    for (long px = px1 + 1; px < px2 - 1; ++px) add(at(rows, px, py), 256, cy);
    if (px2 - 1 > px1) add(at(rows, px2 - 1, py), last, cy);
  }
}

void over_line(const MaskRows& rows, Point a, Point b, double width) {
  double dx = b.x - a.x, dy = b.y - a.y;
  double length = std::hypot(dx, dy);
  if (!std::isfinite(length) || !std::isfinite(a.x + a.y) || !(length > 0.0) ||
      !(width > 0.0 && width < 1e6))
    return;
  double tx = dx / length, ty = dy / length;  // along the line
  double nx = -ty, ny = tx;                   // across it
  double half = width / 2.0;
  // Both directions meet the square alike: one is the other turned.
  SquareArea area(tx, ty);
  // A pixel's share: between the two sides, and between the two ends
  // (wholly, but within a pixel of them).
  double reach = area.corner();
  auto coverage = [&](int px, int py) {
    double cx = px + 0.5 - a.x, cy = py + 0.5 - a.y;
    double across = nx * cx + ny * cy, along = tx * cx + ty * cy;
    double share = area(half - across) - area(-half - across);
    if (share > 0.0 && (along < reach || along > length - reach))
      share *= area(length - along) - area(-along);
    return share;
  };
  auto put = [&](int px, int py) {
    int c = static_cast<int>(coverage(px, py) * 255.0 + 0.5);
    if (c > 0) over(at(rows, px, py), c);
  };
  // Every pixel the line touches, walked along its longer extent: for each
  // column (row) only the rows (columns) it crosses there.
  bool level = std::abs(tx) >= std::abs(ty);
  double from = level ? std::min(a.x, b.x) : std::min(a.y, b.y);
  double to = level ? std::max(a.x, b.x) : std::max(a.y, b.y);
  double rate = level ? ty / tx : tx / ty;  // the other coordinate's change per pixel
  double thick = half / (level ? std::abs(tx) : std::abs(ty)) + std::abs(rate) / 2.0;
  int i1 = level ? rows.x1 : rows.y1, i2 = level ? rows.x2 : rows.y2;
  int j_lo = level ? rows.y1 : rows.x1, j_hi = level ? rows.y2 : rows.x2;
  int first = within(std::floor(from - half), i1, i2);
  int last = within(std::ceil(to + half), i1, i2);
  for (int i = first; i < last; ++i) {
    double centre = level ? a.y + (i + 0.5 - a.x) * rate : a.x + (i + 0.5 - a.y) * rate;
    int j1 = within(std::floor(centre - thick), j_lo, j_hi);
    int j2 = within(std::ceil(centre + thick), j_lo, j_hi);
    for (int j = j1; j < j2; ++j) {
      if (level)
        put(i, j);
      else
        put(j, i);
    }
  }
}

void over_disc(const MaskRows& rows, Point c, double r) {
  if (!std::isfinite(c.x + c.y) || !(r > 0.0 && r < 1e6)) return;
  int x1 = within(std::floor(c.x - r - 1.0), rows.x1, rows.x2);
  int x2 = within(std::ceil(c.x + r + 1.0), rows.x1, rows.x2);
  int y1 = within(std::floor(c.y - r - 1.0), rows.y1, rows.y2);
  int y2 = within(std::ceil(c.y + r + 1.0), rows.y1, rows.y2);
  // Wholly inside within a pixel's half diagonal of the edge, wholly out
  // beyond it; in between the edge is taken as straight across the pixel,
  // square to the direction from the centre.
  double inside = std::max(r - M_SQRT1_2, 0.0), outside = r + M_SQRT1_2;
  auto edge = [&](int x, int y, double dy) {
    double dx = x + 0.5 - c.x;
    double d2 = dx * dx + dy * dy;
    if (d2 >= outside * outside) return;
    double d = std::sqrt(d2);
    int v = d > inside ? static_cast<int>(SquareArea(dx / d, dy / d)(r - d) * 255.0 + 0.5) : 255;
    if (v > 0) over(at(rows, x, y), v);
  };
  for (int y = y1; y < y2; ++y) {
    double dy = y + 0.5 - c.y;
    // The columns the edge may cross, and between them those wholly
    // inside: one run of full pixels.
    double o2 = outside * outside - dy * dy;
    if (o2 <= 0.0) continue;
    double o = std::sqrt(o2);
    int e1 = within(std::floor(c.x - o - 0.5), x1, x2);
    int e2 = within(std::ceil(c.x + o + 0.5), x1, x2);
    int s1 = e1, s2 = e1;
    if (double h2 = inside * inside - dy * dy; h2 > 0.0) {
      double h = std::sqrt(h2);
      s1 = within(std::ceil(c.x - h - 0.5), e1, e2);
      s2 = std::max(s1, within(std::floor(c.x + h - 0.5) + 1.0, e1, e2));
    }
    for (int x = e1; x < s1; ++x) edge(x, y, dy);
    if (s2 > s1) std::fill(&at(rows, s1, y), &at(rows, s1, y) + (s2 - s1), 255);
    for (int x = s2; x < e2; ++x) edge(x, y, dy);
  }
}

bool draws_on_image(cairo_t* cr) {
  return cairo_surface_get_type(cairo_get_group_target(cr)) == CAIRO_SURFACE_TYPE_IMAGE;
}

double even_scale(const cairo_matrix_t& m) {
  double scale = std::abs(m.xx);
  return m.xy == 0.0 && m.yx == 0.0 && std::abs(m.yy) == scale ? scale : 0.0;
}

void paint_through(cairo_t* cr, cairo_surface_t* mask, int x, int y, const Rgba& colour) {
  cairo_save(cr);
  cairo_identity_matrix(cr);
  cairo_set_source_rgba(cr, colour.r, colour.g, colour.b, colour.a);
  cairo_mask_surface(cr, mask, x, y);
  cairo_restore(cr);
}

}  // namespace kvr::render
