// Shapes rasterised straight into a mask: against Cairo, which covers
// boxes exactly, and against a shape drawn sixteen times larger and shrunk,
// for slanted lines and discs, whose true area Cairo's own strokes and
// fills miss by a few levels.
#include "paint/mask_raster.h"

#include <cairo.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <functional>
#include <random>
#include <tuple>
#include <vector>

#include "model/geometry.h"
#include "paint/hatch_masks.h"

namespace {

using kvr::render::MaskRows;
using kvr::render::Point;

constexpr int kWidth = 96, kHeight = 64;

// An A8 mask of kWidth x kHeight.
struct Mask {
  int stride = cairo_format_stride_for_width(CAIRO_FORMAT_A8, kWidth);
  std::vector<unsigned char> pixels =
      std::vector<unsigned char>(static_cast<std::size_t>(stride) * kHeight, 0);

  // Rows y1 to y2 of the mask, or its columns x1 to x2 of them.
  MaskRows rows(int y1, int y2, int x1 = 0, int x2 = kWidth) {
    return {pixels.data() + static_cast<std::ptrdiff_t>(y1) * stride + x1, stride, x1, x2, y1, y2};
  }
  int at(int x, int y) const { return pixels[static_cast<std::size_t>(y * stride + x)]; }
};

// Cairo's coverage of what `draw` paints, drawn `scale` times larger and
// averaged back to kWidth x kHeight.
Mask cairo_mask(const std::function<void(cairo_t*)>& draw, int scale = 1) {
  cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_A8, kWidth * scale, kHeight * scale);
  cairo_t* cr = cairo_create(s);
  cairo_scale(cr, scale, scale);
  draw(cr);
  cairo_destroy(cr);
  cairo_surface_flush(s);
  const unsigned char* data = cairo_image_surface_get_data(s);
  int stride = cairo_image_surface_get_stride(s);
  Mask m;
  for (int y = 0; y < kHeight; ++y) {
    for (int x = 0; x < kWidth; ++x) {
      long sum = 0;
      for (int j = 0; j < scale; ++j)
        for (int i = 0; i < scale; ++i) sum += data[(y * scale + j) * stride + x * scale + i];
      m.pixels[static_cast<std::size_t>(y * m.stride + x)] =
          static_cast<unsigned char>(std::lround(static_cast<double>(sum) / (scale * scale)));
    }
  }
  cairo_surface_destroy(s);
  return m;
}

// The largest difference between two masks, and how many pixels differ by
// more than `levels`.
std::pair<int, int> compare(const Mask& a, const Mask& b, int levels) {
  int worst = 0, beyond = 0;
  for (int y = 0; y < kHeight; ++y) {
    for (int x = 0; x < kWidth; ++x) {
      int d = std::abs(a.at(x, y) - b.at(x, y));
      worst = std::max(worst, d);
      beyond += d > levels ? 1 : 0;
    }
  }
  return {worst, beyond};
}

struct Line {
  Point a, b;
  double width;
};

// Lines like a slanted wall's courses: any slope up to about 35 degrees
// either way, or near upright, at any sub-pixel place, 0.6 to 2 pixels wide.
std::vector<Line> random_lines(int count) {
  std::mt19937 rng(7);
  std::uniform_real_distribution<double> u(0.0, 1.0);
  std::vector<Line> lines;
  for (int i = 0; i < count; ++i) {
    double angle = (u(rng) - 0.5) * 1.2 + (i % 4 == 3 ? M_PI / 2.0 : 0.0);
    double length = 10.0 + u(rng) * 40.0;
    Point a{20.0 + u(rng) * 20.0, 12.0 + u(rng) * 20.0};
    lines.push_back(
        {a, {a.x + length * std::cos(angle), a.y + length * std::sin(angle)}, 0.6 + u(rng) * 1.4});
  }
  return lines;
}

TEST(MaskRaster, BoxesCoverWhatCairoFillsAndAddUpWhereTheyMeet) {
  std::mt19937 rng(3);
  std::uniform_real_distribution<double> u(0.0, 1.0);
  for (int i = 0; i < 200; ++i) {
    double x1 = 5.0 + u(rng) * 40.0, y1 = 5.0 + u(rng) * 30.0;
    double x2 = x1 + 0.3 + u(rng) * 30.0, y2 = y1 + 0.3 + u(rng) * 2.0;
    // A level course and the upright joint below it, edge to edge.
    double jx = x1 + (x2 - x1) * u(rng), jw = 0.4 + u(rng);
    double y3 = y2 + 1.0 + u(rng) * 20.0;
    Mask ours;
    add_box(ours.rows(0, kHeight), x1, y1, x2, y2);
    add_box(ours.rows(0, kHeight), jx, y2, jx + jw, y3);
    Mask theirs = cairo_mask([&](cairo_t* cr) {
      cairo_rectangle(cr, x1, y1, x2 - x1, y2 - y1);
      cairo_rectangle(cr, jx, y2, jw, y3 - y2);
      cairo_fill(cr);
    });
    // Each box's share of a pixel where they meet is rounded apart, and
    // Cairo rounds its own a level apart.
    EXPECT_LE(compare(ours, theirs, 3).first, 3) << "box " << i;
  }
}

TEST(MaskRaster, SlantedLinesCoverTheirTrueArea) {
  int worst = 0, beyond = 0, worst_cairo = 0;
  for (const Line& l : random_lines(60)) {
    auto stroke = [&l](cairo_t* cr) {
      cairo_set_line_width(cr, l.width);
      cairo_set_line_cap(cr, CAIRO_LINE_CAP_BUTT);
      cairo_move_to(cr, l.a.x, l.a.y);
      cairo_line_to(cr, l.b.x, l.b.y);
      cairo_stroke(cr);
    };
    Mask ours;
    over_line(ours.rows(0, kHeight), l.a, l.b, l.width);
    Mask truth = cairo_mask(stroke, 16);
    auto [w, b] = compare(ours, truth, 2);
    worst = std::max(worst, w);
    beyond += b;
    worst_cairo = std::max(worst_cairo, compare(cairo_mask(stroke), truth, 2).first);
  }
  // Off only by a few levels at the square-cut ends, where the two
  // directions' shares are multiplied; Cairo's own stroke is further off.
  EXPECT_LE(worst, 12);
  EXPECT_LE(beyond, 60 * 8);
  EXPECT_LT(worst, worst_cairo);
}

TEST(MaskRaster, ALineOverWhatIsThereCoversItsShareOfWhatWasLeft) {
  // As a stroke in an opaque colour over a joint: new = line + old * (1 - line).
  Mask alone, over;
  std::fill(over.pixels.begin(), over.pixels.end(), 100);
  for (Mask* m : {&alone, &over}) over_line(m->rows(0, kHeight), {10.0, 30.2}, {80.0, 12.7}, 1.3);
  int covered = 0;
  for (int y = 0; y < kHeight; ++y) {
    for (int x = 0; x < kWidth; ++x) {
      double line = alone.at(x, y) / 255.0;
      EXPECT_NEAR(over.at(x, y), 255.0 * line + 100.0 * (1.0 - line), 1.0) << x << "," << y;
      covered += alone.at(x, y) > 0 ? 1 : 0;
    }
  }
  EXPECT_GT(covered, 70);
}

TEST(MaskRaster, ShapesDrawnInPartsEqualShapesDrawnWhole) {
  // Each band of a frame draws the part of a mask it needs: rows on either
  // side of a seam, or (a circle's mask, made for the clip) any rectangle.
  std::vector<Line> lines = random_lines(20);
  Point c{47.31, 29.87};
  auto draw = [&](const MaskRows& rows) {
    for (const Line& l : lines) {
      add_box(rows, l.a.x, l.a.y, l.b.x + 0.5, l.a.y + l.width);
      over_line(rows, l.a, l.b, l.width);
    }
    over_disc(rows, c, 21.6);
  };
  Mask whole;
  draw(whole.rows(0, kHeight));
  EXPECT_EQ(whole.at(47, 29), 255);
  for (int seam : {1, 17, 31, 63}) {
    Mask parts;
    for (auto [y1, y2, x1, x2] :
         {std::tuple{0, seam, 0, 50}, std::tuple{0, seam, 50, kWidth},
          std::tuple{seam, kHeight, 0, 7}, std::tuple{seam, kHeight, 7, kWidth}})
      draw(parts.rows(y1, y2, x1, x2));
    EXPECT_EQ(whole.pixels, parts.pixels) << "seam at row " << seam;
  }
}

TEST(MaskRaster, DiscsCoverTheirTrueArea) {
  std::mt19937 rng(11);
  std::uniform_real_distribution<double> u(0.0, 1.0);
  int worst = 0, worst_cairo = 0;
  for (int i = 0; i < 40; ++i) {
    Point c{40.0 + u(rng), 30.0 + u(rng)};
    double r = 4.0 + u(rng) * 25.0;
    auto fill = [&](cairo_t* cr) {
      cairo_arc(cr, c.x, c.y, r, 0.0, 2.0 * M_PI);
      cairo_fill(cr);
    };
    Mask ours;
    over_disc(ours.rows(0, kHeight), c, r);
    Mask truth = cairo_mask(fill, 16);
    worst = std::max(worst, compare(ours, truth, 0).first);
    worst_cairo = std::max(worst_cairo, compare(cairo_mask(fill), truth, 0).first);
  }
  EXPECT_LE(worst, 8);
  EXPECT_LT(worst, worst_cairo);
}

TEST(MaskRaster, ShapesFarOffOrNotNumbersDrawNothing) {
  Mask m;
  MaskRows rows = m.rows(10, 20);
  double nan = std::nan(""), huge = 1e300;
  for (auto [a, b, w] : {std::tuple{Point{nan, 1.0}, Point{5.0, 5.0}, 1.0},
                         std::tuple{Point{-huge, 1e200}, Point{huge, 1e200}, 1.0},
                         std::tuple{Point{1.0, 15.0}, Point{50.0, 15.0}, huge},
                         std::tuple{Point{1.0, 15.0}, Point{50.0, 15.0}, -1.0},
                         std::tuple{Point{1.0, 2.0}, Point{50.0, 5.0}, 1.0},
                         std::tuple{Point{-3e9, 15.0}, Point{-2e9, 16.0}, 1.0}}) {
    over_line(rows, a, b, w);
    add_box(rows, a.x, a.y, b.x, b.y);
  }
  add_box(rows, nan, 12.0, 30.0, 14.0);
  add_box(rows, 5.0, 12.0, 5.0, 14.0);
  over_disc(rows, {nan, 15.0}, 5.0);
  over_disc(rows, {40.0, 15.0}, huge);
  over_disc(rows, {40.0, -1e200}, 5.0);
  EXPECT_EQ(std::count(m.pixels.begin(), m.pixels.end(), 0), static_cast<long>(m.pixels.size()));
  // Partly off the mask: only the rows and columns it has are drawn.
  over_line(rows, {-40.0, 0.0}, {200.0, 40.0}, 3.0);
  add_box(rows, -10.0, -10.0, 500.0, 500.0);
  for (int y = 0; y < kHeight; ++y)
    for (int x = 0; x < kWidth; ++x)
      EXPECT_EQ(m.at(x, y) == 255, y >= 10 && y < 20) << x << "," << y;
}

TEST(MaskRaster, BrickCoursesAndTheirJointsAddUpToTheirUnion) {
  // A wall of level courses, rasterised as boxes, covers what Cairo fills
  // for the same lines stroked as one path: no joint overlaps a course.
  kvr::render::Hatch h;
  h.spacing = 6.0;
  h.joints = 15.0;
  h.line_width = 0.8;
  h.origin = {3.3, 2.6};
  kvr::render::lay_hatch(h, {{4.2, 3.7}, {90.6, 3.7}, {90.6, 58.1}, {4.2, 58.1}});
  ASSERT_EQ(h.rectilinear, h.segments.size());
  Mask ours;
  double half = h.line_width / 2.0;
  for (const auto& [p, q] : h.segments) {
    if (p.y == q.y)
      add_box(ours.rows(0, kHeight), std::min(p.x, q.x), p.y - half, std::max(p.x, q.x),
              p.y + half);
    else
      add_box(ours.rows(0, kHeight), p.x - half, std::min(p.y, q.y), p.x + half,
              std::max(p.y, q.y));
  }
  Mask theirs = cairo_mask([&h](cairo_t* cr) { kvr::render::HatchMasks::stroke(cr, h); });
  EXPECT_LE(compare(ours, theirs, 3).first, 3);
}

}  // namespace
