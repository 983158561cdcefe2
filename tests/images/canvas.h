// An image surface to draw the renderer into and read pixels back from, for
// the renderer's tests.
#ifndef MAISON_TESTS_IMAGES_CANVAS_H
#define MAISON_TESTS_IMAGES_CANVAS_H

#include <cairo.h>

#include <cstdint>
#include <cstring>
#include <ostream>
#include <string>
#include <vector>

#include "frame/scene_renderer.h"

namespace test {

struct Rgb {
  int r, g, b;
  bool operator==(const Rgb& o) const { return r == o.r && g == o.g && b == o.b; }
};

inline std::ostream& operator<<(std::ostream& os, const Rgb& c) {
  return os << "(" << c.r << "," << c.g << "," << c.b << ")";
}

class Canvas {
 public:
  Canvas(int w, int h) : surface_(cairo_image_surface_create(CAIRO_FORMAT_RGB24, w, h)) {}
  ~Canvas() { cairo_surface_destroy(surface_); }
  Canvas(const Canvas&) = delete;
  Canvas& operator=(const Canvas&) = delete;

  int width() const { return cairo_image_surface_get_width(surface_); }
  int height() const { return cairo_image_surface_get_height(surface_); }

  void draw(const kvr::SceneRenderer& r, const kvr::FrameView& view, double now = 1e9,
            kvr::PointerLook pointer = {}) {
    cairo_t* cr = cairo_create(surface_);
    r.draw(cr, width(), height(), view, now, pointer);
    cairo_destroy(cr);
    cairo_surface_flush(surface_);
  }
  // Draws by changes since the last update() on this canvas.
  std::vector<kvr::DeviceRect> update(kvr::SceneRenderer& r, const kvr::FrameView& view,
                                      double now = 1e9, kvr::PointerLook pointer = {}) {
    cairo_t* cr = cairo_create(surface_);
    std::vector<kvr::DeviceRect> damage = r.update(cr, width(), height(), view, now, pointer);
    cairo_destroy(cr);
    cairo_surface_flush(surface_);
    return damage;
  }
  Rgb at(int x, int y) const {
    std::uint32_t px = raw(x, y);
    return {static_cast<int>((px >> 16) & 0xFF), static_cast<int>((px >> 8) & 0xFF),
            static_cast<int>(px & 0xFF)};
  }
  // Pixels in a device rectangle that are not the given colour.
  int count_not(int x1, int y1, int x2, int y2, Rgb colour) const {
    int n = 0;
    for (int y = y1; y < y2; ++y)
      for (int x = x1; x < x2; ++x) n += at(x, y) == colour ? 0 : 1;
    return n;
  }
  // Pixels that differ from another canvas of the same size.
  int count_different(const Canvas& other) const {
    int n = 0;
    for (int y = 0; y < height(); ++y)
      for (int x = 0; x < width(); ++x) n += (raw(x, y) & 0xFFFFFF) != (other.raw(x, y) & 0xFFFFFF);
    return n;
  }
  // Pixels of which a channel differs by more than `levels` from another
  // canvas of the same size.
  int count_different(const Canvas& other, int levels) const {
    int n = 0;
    for (int y = 0; y < height(); ++y) {
      for (int x = 0; x < width(); ++x) {
        std::uint32_t a = raw(x, y), b = other.raw(x, y);
        for (int shift = 0; shift < 24; shift += 8) {
          int d = static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF);
          if (d > levels || d < -levels) {
            ++n;
            break;
          }
        }
      }
    }
    return n;
  }
  // Pixels that differ from another canvas outside the given rectangles.
  int count_different_outside(const Canvas& other,
                              const std::vector<kvr::DeviceRect>& rects) const {
    int n = 0;
    for (int y = 0; y < height(); ++y) {
      for (int x = 0; x < width(); ++x) {
        bool inside = false;
        for (const kvr::DeviceRect& r : rects)
          inside = inside || (x >= r.x && x < r.x + r.width && y >= r.y && y < r.y + r.height);
        if (!inside && (raw(x, y) & 0xFFFFFF) != (other.raw(x, y) & 0xFFFFFF)) ++n;
      }
    }
    return n;
  }
  void save(const std::string& path) const { cairo_surface_write_to_png(surface_, path.c_str()); }
  void copy_from(const Canvas& other) {
    std::memcpy(cairo_image_surface_get_data(surface_),
                cairo_image_surface_get_data(other.surface_),
                static_cast<std::size_t>(cairo_image_surface_get_stride(surface_) * height()));
    cairo_surface_mark_dirty(surface_);
  }

 private:
  std::uint32_t raw(int x, int y) const {
    const unsigned char* data = cairo_image_surface_get_data(surface_);
    int stride = cairo_image_surface_get_stride(surface_);
    std::uint32_t px;
    std::memcpy(&px, data + y * stride + x * 4, 4);
    return px;
  }
  cairo_surface_t* surface_;
};

}  // namespace test

#endif
