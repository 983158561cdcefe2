#include "hatch_raster.h"

#include <algorithm>
#include <cmath>

namespace kvr::render {

namespace {

unsigned char* row_at(const MaskRows& rows, int y) {
  return rows.pixels + static_cast<std::ptrdiff_t>(y - rows.y1) * rows.stride;
}

// a * b / 255, rounded, for a and b in 0..255.
int times_255ths(int a, int b) {
  int t = a * b + 128;
  return (t + (t >> 8)) >> 8;
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

}  // namespace

void add_box(const MaskRows& rows, double x1, double y1, double x2, double y2) {
  // Within the rows first (nothing of a box that is not a number), then
  // edges in 1/256 pixel, as Cairo takes them; coverage in whole units.
  x1 = std::max(x1, 0.0);
  x2 = std::min(x2, static_cast<double>(rows.width));
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
    unsigned char* row = row_at(rows, static_cast<int>(py));
    add(row[px1], first, cy);
    for (long px = px1 + 1; px < px2 - 1; ++px) add(row[px], 256, cy);
    if (px2 - 1 > px1) add(row[px2 - 1], last, cy);
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
    if (c <= 0) return;
    unsigned char& m = row_at(rows, py)[px];
    m = static_cast<unsigned char>(std::min(255, c + times_255ths(m, 255 - c)));
  };
  // Every pixel the line touches, walked along its longer extent: for each
  // column (row) only the rows (columns) it crosses there.
  bool level = std::abs(tx) >= std::abs(ty);
  double from = level ? std::min(a.x, b.x) : std::min(a.y, b.y);
  double to = level ? std::max(a.x, b.x) : std::max(a.y, b.y);
  double rate = level ? ty / tx : tx / ty;  // the other coordinate's change per pixel
  double thick = half / (level ? std::abs(tx) : std::abs(ty)) + std::abs(rate) / 2.0;
  // Bounds kept within the rows before they become whole pixels.
  auto within = [](double v, int lo, int hi) {
    return static_cast<int>(std::clamp(v, static_cast<double>(lo), static_cast<double>(hi)));
  };
  int i1 = level ? 0 : rows.y1, i2 = level ? rows.width : rows.y2;
  int j_lo = level ? rows.y1 : 0, j_hi = level ? rows.y2 : rows.width;
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

}  // namespace kvr::render
