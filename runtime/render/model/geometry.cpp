#include "model/geometry.h"

#include <algorithm>
#include <cmath>

namespace kvr::render {

bool convex(const std::vector<Point>& pts) {
  if (pts.size() < 3) return false;
  int sign = 0;
  for (std::size_t i = 0; i < pts.size(); ++i) {
    const Point& a = pts[i];
    const Point& b = pts[(i + 1) % pts.size()];
    const Point& c = pts[(i + 2) % pts.size()];
    double cross = (b.x - a.x) * (c.y - b.y) - (b.y - a.y) * (c.x - b.x);
    if (std::abs(cross) < 1e-9) continue;
    int here = cross > 0 ? 1 : -1;
    if (sign != 0 && here != sign) return false;
    sign = here;
  }
  return sign != 0;
}

bool clip_to_convex(const std::vector<Point>& poly, Point& a, Point& b) {
  double area = 0.0;
  for (std::size_t i = 0; i < poly.size(); ++i) {
    const Point& p = poly[i];
    const Point& q = poly[(i + 1) % poly.size()];
    area += p.x * q.y - q.x * p.y;
  }
  double orient = area > 0 ? 1.0 : -1.0;  // counter-clockwise: inside is left
  double t0 = 0.0, t1 = 1.0;
  double dx = b.x - a.x, dy = b.y - a.y;
  for (std::size_t i = 0; i < poly.size(); ++i) {
    const Point& p = poly[i];
    const Point& q = poly[(i + 1) % poly.size()];
    // Inward normal of edge p..q.
    double nx = -(q.y - p.y) * orient, ny = (q.x - p.x) * orient;
    double num = nx * (a.x - p.x) + ny * (a.y - p.y);
    double den = nx * dx + ny * dy;
    if (std::abs(den) < 1e-12) {
      if (num < 0) return false;
      continue;
    }
    double t = -num / den;
    if (den > 0) {
      t0 = std::max(t0, t);
    } else {
      t1 = std::min(t1, t);
    }
    if (t0 > t1) return false;
  }
  Point start{a.x + dx * t0, a.y + dy * t0};
  b = {a.x + dx * t1, a.y + dy * t1};
  a = start;
  return true;
}

void lay_hatch(Hatch& h, const std::vector<Point>& outline) {
  if (outline.size() < 3) return;
  double x1 = outline[0].x, x2 = x1, y1 = outline[0].y, y2 = y1;
  for (const Point& p : outline) {
    x1 = std::min(x1, p.x);
    x2 = std::max(x2, p.x);
    y1 = std::min(y1, p.y);
    y2 = std::max(y2, p.y);
  }
  h.needs_clip = !convex(outline);
  double rise = std::abs(h.slope) * (x2 - x1);
  double first = std::floor((y1 - rise - h.origin.y) / h.spacing);
  double last = std::ceil((y2 + rise - h.origin.y) / h.spacing);
  auto course_y = [&](double k, double x) {
    return h.origin.y + k * h.spacing + h.slope * (x - h.origin.x);
  };
  auto add = [&](Point a, Point b) {
    if (h.needs_clip || clip_to_convex(outline, a, b)) h.segments.push_back({a, b});
  };
  for (double k = first; k <= last; k += 1.0) {
    add({x1, course_y(k, x1)}, {x2, course_y(k, x2)});
    if (h.joints <= 0.0) continue;
    double offset = std::fmod(k, 2.0) == 0.0 ? 0.0 : h.joints / 2.0;
    double start =
        h.origin.x + offset + std::floor((x1 - h.origin.x - offset) / h.joints) * h.joints;
    // Between level courses a joint runs from one course's edge to the
    // next: the lines then never overlap, and their coverage adds up.
    bool apart = h.slope == 0.0 && std::abs(h.spacing) > h.line_width;
    double trim = apart ? std::copysign(h.line_width / 2.0, h.spacing) : 0.0;
    for (double x = start; x <= x2; x += h.joints)
      add({x, course_y(k, x) + trim}, {x, course_y(k + 1.0, x) - trim});
  }
  auto square = [](const std::pair<Point, Point>& s) {
    return s.first.x == s.second.x || s.first.y == s.second.y;
  };
  auto slanted = std::stable_partition(h.segments.begin(), h.segments.end(), square);
  h.rectilinear = static_cast<std::size_t>(slanted - h.segments.begin());
}

void rounded_path(cairo_t* cr, double x1, double y1, double x2, double y2, double r) {
  cairo_new_path(cr);
  r = std::min({r, (x2 - x1) / 2.0, (y2 - y1) / 2.0});
  if (r <= 0.0) {
    cairo_rectangle(cr, x1, y1, x2 - x1, y2 - y1);
    return;
  }
  cairo_arc(cr, x2 - r, y2 - r, r, 0.0, M_PI / 2.0);
  cairo_arc(cr, x1 + r, y2 - r, r, M_PI / 2.0, M_PI);
  cairo_arc(cr, x1 + r, y1 + r, r, M_PI, 1.5 * M_PI);
  cairo_arc(cr, x2 - r, y1 + r, r, 1.5 * M_PI, 2.0 * M_PI);
  cairo_close_path(cr);
}

void points_path(cairo_t* cr, const std::vector<Point>& pts, bool close) {
  cairo_new_path(cr);
  for (const Point& p : pts) cairo_line_to(cr, p.x, p.y);
  if (close) cairo_close_path(cr);
}

}  // namespace kvr::render
