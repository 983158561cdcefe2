#include "canvas_presenter.h"

#include <algorithm>

#include "page_bridge.h"

namespace kvr {

CanvasPresenter::~CanvasPresenter() {
  if (picture_ != nullptr) cairo_surface_destroy(picture_);
}

bool CanvasPresenter::present(SceneRenderer& renderer, const FrameView& view, double now,
                              const PointerLook& pointer, int width, int height) {
  if (width < 1 || height < 1) return false;
  if (picture_ == nullptr || width != width_ || height != height_) {
    if (picture_ != nullptr) cairo_surface_destroy(picture_);
    picture_ = cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height);
    width_ = width;
    height_ = height;
    rgba_.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), 0);
    renderer.forget();
    resend_ = true;
  }
  cairo_t* cr = cairo_create(picture_);
  std::vector<DeviceRect> damage = renderer.update(cr, width, height, view, now, pointer);
  cairo_destroy(cr);
  cairo_surface_flush(picture_);
  if (resend_) {
    resend_ = false;
    put({0, 0, width, height});
  } else if (!damage.empty()) {
    for (const DeviceRect& rect : damage) put(rect);
  } else {
    return false;
  }
  maison_page_shown();
  return true;
}

void CanvasPresenter::put(const DeviceRect& rect) {
  int x0 = std::max(rect.x, 0), y0 = std::max(rect.y, 0);
  int x1 = std::min(rect.x + rect.width, width_), y1 = std::min(rect.y + rect.height, height_);
  if (x1 <= x0 || y1 <= y0) return;
  // Cairo's pixels are 0xXXRRGGBB words; the canvas wants the bytes R, G,
  // B, A, which a little-endian word holds as 0xAABBGGRR.
  const unsigned char* data = cairo_image_surface_get_data(picture_);
  int stride = cairo_image_surface_get_stride(picture_);
  for (int y = y0; y < y1; ++y) {
    const auto* from =
        reinterpret_cast<const std::uint32_t*>(data + static_cast<std::ptrdiff_t>(y) * stride);
    std::uint32_t* to =
        rgba_.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(width_);
    for (int x = x0; x < x1; ++x) {
      std::uint32_t p = from[x];
      to[x] = 0xFF000000u | (p & 0x0000FF00u) | ((p >> 16) & 0xFFu) | ((p & 0xFFu) << 16);
    }
  }
  maison_page_put(rgba_.data(), width_, height_, x0, y0, x1 - x0, y1 - y0);
}

}  // namespace kvr
