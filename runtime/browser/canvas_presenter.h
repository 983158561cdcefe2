// The page's pixels: Cairo draws into a kept picture, and only the
// rectangles a frame changed are turned into the canvas's byte order and
// put on the canvas.
#ifndef KVR_BROWSER_CANVAS_PRESENTER_H
#define KVR_BROWSER_CANVAS_PRESENTER_H

#include <cairo.h>

#include <cstdint>
#include <vector>

#include "frame/scene_renderer.h"

namespace kvr {

class CanvasPresenter {
 public:
  CanvasPresenter() = default;
  ~CanvasPresenter();
  CanvasPresenter(const CanvasPresenter&) = delete;
  CanvasPresenter& operator=(const CanvasPresenter&) = delete;

  // Brings the canvas, of width x height pixels, up to date with the
  // renderer (which draws only what changed since the picture it drew
  // last). False when nothing was put on the canvas.
  bool present(SceneRenderer& renderer, const FrameView& view, double now,
               const PointerLook& pointer, int width, int height);

  // The canvas lost its pixels (its size was set again): the next
  // present() puts the whole picture, without drawing it anew.
  void resend() { resend_ = true; }

 private:
  void put(const DeviceRect& rect);

  cairo_surface_t* picture_ = nullptr;
  int width_ = 0, height_ = 0;
  std::vector<std::uint32_t> rgba_;
  bool resend_ = false;
};

}  // namespace kvr

#endif
