#include "paint/backdrop.h"

namespace kvr::render {

Backdrop::~Backdrop() {
  if (surface_ != nullptr) cairo_surface_destroy(surface_);
}

void Backdrop::hold(const std::vector<Node>& nodes, const std::vector<int>& slots_after) {
  nodes_ = 0;
  while (nodes_ < nodes.size() && nodes_ < slots_after.size() &&
         nodes[nodes_].kind == Kind::Group && nodes[nodes_].layer.set)
    ++nodes_;
  slots_ = nodes_ > 0 ? slots_after[nodes_ - 1] : 0;
  current_ = false;
}

cairo_surface_t* Backdrop::picture(int width, int height, cairo_format_t format, bool& current) {
  current = false;
  if (nodes_ == 0 || width < 1 || height < 1) return nullptr;
  if (format != CAIRO_FORMAT_RGB24 && format != CAIRO_FORMAT_ARGB32) return nullptr;
  if (surface_ == nullptr || width != width_ || height != height_ || format != format_) {
    if (surface_ != nullptr) cairo_surface_destroy(surface_);
    surface_ = cairo_image_surface_create(format, width, height);
    width_ = width;
    height_ = height;
    format_ = format;
    current_ = false;
    if (cairo_surface_status(surface_) != CAIRO_STATUS_SUCCESS) {
      cairo_surface_destroy(surface_);
      surface_ = nullptr;
      return nullptr;
    }
  }
  current = current_;
  return surface_;
}

}  // namespace kvr::render
