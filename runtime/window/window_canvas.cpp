#include "window_canvas.h"

#include <vector>

namespace kvr {

WindowCanvas::~WindowCanvas() {
  if (shadow_ != nullptr) cairo_surface_destroy(shadow_);
}

bool WindowCanvas::present(SceneRenderer& renderer, const FrameView& view, double now,
                           const PointerLook& pointer) {
  SDL_Surface* surface = SDL_GetWindowSurface(window_);
  if (surface == nullptr || surface->w < 1 || surface->h < 1) return false;
  int w = surface->w, h = surface->h;
  // SDL makes a new window surface for a new size; what it holds then is
  // undefined, so everything is drawn again.
  if (surface != known_ || w != known_w_ || h != known_h_) {
    renderer.forget();
    known_ = surface;
    known_w_ = w;
    known_h_ = h;
    resend_ = true;
    if (shadow_ != nullptr) cairo_surface_destroy(shadow_);
    shadow_ = nullptr;
  }
  // 32-bit pixels in native byte order, as Cairo's own formats are.
  Uint32 format = surface->format->format;
  cairo_format_t cairo_format =
      format == SDL_PIXELFORMAT_ARGB8888 ? CAIRO_FORMAT_ARGB32 : CAIRO_FORMAT_RGB24;
  bool direct = (format == SDL_PIXELFORMAT_RGB888 || format == SDL_PIXELFORMAT_ARGB8888) &&
                surface->pitch >= cairo_format_stride_for_width(cairo_format, w) &&
                surface->pitch % 4 == 0;
  std::vector<DeviceRect> damage;
  if (direct) {
    if (SDL_MUSTLOCK(surface) && SDL_LockSurface(surface) != 0) return false;
    cairo_surface_t* target = cairo_image_surface_create_for_data(
        static_cast<unsigned char*>(surface->pixels), cairo_format, w, h, surface->pitch);
    cairo_t* cr = cairo_create(target);
    damage = renderer.update(cr, w, h, view, now, pointer);
    cairo_destroy(cr);
    cairo_surface_destroy(target);
    if (SDL_MUSTLOCK(surface)) SDL_UnlockSurface(surface);
  } else {
    if (shadow_ == nullptr) {
      shadow_ = cairo_image_surface_create(CAIRO_FORMAT_RGB24, w, h);
      renderer.forget();
    }
    cairo_t* cr = cairo_create(shadow_);
    damage = renderer.update(cr, w, h, view, now, pointer);
    cairo_destroy(cr);
    cairo_surface_flush(shadow_);
    if (!damage.empty() || resend_) {
      SDL_Surface* from = SDL_CreateRGBSurfaceWithFormatFrom(
          cairo_image_surface_get_data(shadow_), w, h, 32, cairo_image_surface_get_stride(shadow_),
          SDL_PIXELFORMAT_RGB888);
      if (from == nullptr) return false;
      std::vector<DeviceRect> copy = resend_ ? std::vector<DeviceRect>{{0, 0, w, h}} : damage;
      for (const DeviceRect& r : copy) {
        SDL_Rect area{r.x, r.y, r.width, r.height};
        SDL_Rect to = area;
        SDL_BlitSurface(from, &area, surface, &to);
      }
      SDL_FreeSurface(from);
    }
  }
  if (resend_) {
    resend_ = false;
    return SDL_UpdateWindowSurface(window_) == 0;
  }
  if (damage.empty()) return false;
  std::vector<SDL_Rect> rects;
  rects.reserve(damage.size());
  for (const DeviceRect& r : damage) rects.push_back({r.x, r.y, r.width, r.height});
  return SDL_UpdateWindowSurfaceRects(window_, rects.data(), static_cast<int>(rects.size())) == 0;
}

}  // namespace kvr
