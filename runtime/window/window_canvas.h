// The window's pixels: Cairo draws straight into SDL's window surface, and
// only the rectangles a frame changed are sent to the display.
#ifndef KVR_WINDOW_WINDOW_CANVAS_H
#define KVR_WINDOW_WINDOW_CANVAS_H

#include <SDL.h>
#include <cairo.h>

#include "frame/scene_renderer.h"

namespace kvr {

class WindowCanvas {
 public:
  explicit WindowCanvas(SDL_Window* window) : window_(window) {}
  ~WindowCanvas();
  WindowCanvas(const WindowCanvas&) = delete;
  WindowCanvas& operator=(const WindowCanvas&) = delete;

  // Brings the window's picture up to date with the renderer (which draws
  // only what changed since the picture it drew there last) and sends the
  // changed rectangles. False when there was nothing to send.
  bool present(SceneRenderer& renderer, const FrameView& view, double now,
               const PointerLook& pointer);

  // The display lost the window's contents: the next present() sends the
  // whole picture again, without drawing it anew.
  void exposed() { resend_ = true; }

 private:
  SDL_Window* window_;
  SDL_Surface* known_ = nullptr;  // the window surface drawn into last
  int known_w_ = 0, known_h_ = 0;
  // For a window surface of a pixel format Cairo cannot draw into: the
  // picture kept here and copied over.
  cairo_surface_t* shadow_ = nullptr;
  bool resend_ = false;
};

}  // namespace kvr

#endif
