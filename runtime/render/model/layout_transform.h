// From layout units (origin bottom-left, y up) to the device pixels of a
// target: the layout scaled with its aspect kept and centred, letterboxed.
#ifndef KVR_RENDER_LAYOUT_TRANSFORM_H
#define KVR_RENDER_LAYOUT_TRANSFORM_H

#include <cairo.h>

#include <algorithm>
#include <cmath>

#include "model/device.h"
#include "model/element_model.h"

namespace kvr::render {

inline DeviceRect intersect(const DeviceRect& a, const DeviceRect& b) {
  int x1 = std::max(a.x, b.x), y1 = std::max(a.y, b.y);
  int x2 = std::min(a.x + a.width, b.x + b.width), y2 = std::min(a.y + a.height, b.y + b.height);
  if (x2 <= x1 || y2 <= y1) return {};
  return {x1, y1, x2 - x1, y2 - y1};
}

inline bool overlaps(const DeviceRect& a, const DeviceRect& b) {
  return !intersect(a, b).empty();
}

// The smallest rectangle holding both (an empty one holds nothing).
inline DeviceRect unite(const DeviceRect& a, const DeviceRect& b) {
  if (a.empty()) return b;
  if (b.empty()) return a;
  int x1 = std::min(a.x, b.x), y1 = std::min(a.y, b.y);
  int x2 = std::max(a.x + a.width, b.x + b.width), y2 = std::max(a.y + a.height, b.y + b.height);
  return {x1, y1, x2 - x1, y2 - y1};
}

struct LayoutTransform {
  LayoutTransform(int device_width, int device_height, double layout_w, double layout_h)
      : width(device_width), height(device_height) {
    double w = device_width, h = device_height;
    scale = std::min(w / layout_w, h / layout_h);
    x0 = (w - scale * layout_w) / 2.0;
    y0 = (h - scale * layout_h) / 2.0 + scale * layout_h;
  }

  // Layout units on `cr`, whose matrix is the identity.
  void apply(cairo_t* cr) const {
    cairo_translate(cr, x0, y0);
    cairo_scale(cr, scale, -scale);
  }

  // The device pixels a box touches: whole pixels, grown by `margin`
  // pixels for antialiasing, cut to the target.
  DeviceRect pixels(const Box& b, int margin = 1) const {
    if (b.empty()) return {};
    int x1 = static_cast<int>(std::floor(x0 + scale * b.x1)) - margin;
    int x2 = static_cast<int>(std::ceil(x0 + scale * b.x2)) + margin;
    int y1 = static_cast<int>(std::floor(y0 - scale * b.y2)) - margin;
    int y2 = static_cast<int>(std::ceil(y0 - scale * b.y1)) + margin;
    return intersect({x1, y1, x2 - x1, y2 - y1}, {0, 0, width, height});
  }

  int width, height;
  double scale = 1.0, x0 = 0.0, y0 = 0.0;
};

}  // namespace kvr::render

#endif
