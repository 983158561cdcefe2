// What every drawing function of the renderer is handed: the Cairo context
// (any surface: the window's pixels, a layer's picture, a PNG, a vector
// file), the records to read, the clock, the fonts and the pointer's
// interaction with the buttons.
#ifndef KVR_RENDER_DRAW_CONTEXT_H
#define KVR_RENDER_DRAW_CONTEXT_H

#include <cairo.h>

#include "backend.h"
#include "scene_renderer.h"

namespace kvr::render {

class Fonts;

// How the user is interacting with the scene's buttons. Never changes what
// the program sees.
struct Interaction {
  PointerLook pointer;
  // The look key of the whole scene (SceneRenderer::look_key): layers with
  // buttons are drawn again when it changes.
  int look_key = -1;
};

struct DrawContext {
  cairo_t* cr = nullptr;
  const FrameView& view;
  double now = 0.0;
  Interaction interaction;
  const Fonts& fonts;
};

}  // namespace kvr::render

#endif
