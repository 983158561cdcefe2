// Draws a loaded scene with Cairo from the bound program records: the one
// renderer behind the window and the headless pictures.
#ifndef KVR_RENDER_SCENE_RENDERER_H
#define KVR_RENDER_SCENE_RENDERER_H

#include <cairo.h>

#include <memory>
#include <string>
#include <vector>

#include "backend.h"

namespace kvr {

namespace render {
struct Node;
}

// The keyboard focus as drawn: the focus scope and the place in the
// keyboard order of the control that wears the ring; order -1: no ring.
struct FocusMark {
  int scope = -1;
  int order = -1;
  bool operator==(const FocusMark&) const = default;
};

// Where the pointer is, for the hover and pressed looks of buttons (layout
// units, origin bottom-left), and the keyboard's focus ring. Never changes
// what the program sees.
struct PointerLook {
  int x = -1;
  int y = -1;
  int buttons = 0;
  FocusMark focus = {};
  bool operator==(const PointerLook&) const = default;
};

// A rectangle of device pixels (x, y from the top-left corner).
struct DeviceRect {
  int x = 0, y = 0, width = 0, height = 0;

  bool empty() const { return width <= 0 || height <= 0; }
  bool operator==(const DeviceRect& o) const {
    return x == o.x && y == o.y && width == o.width && height == o.height;
  }
};

class SceneRenderer {
 public:
  // Compiles the scene's elements once (references resolved to variable
  // indices); drawing then only reads records.
  explicit SceneRenderer(const Scene& scene);
  ~SceneRenderer();
  SceneRenderer(const SceneRenderer&) = delete;
  SceneRenderer& operator=(const SceneRenderer&) = delete;

  // Draws the whole scene into a device area of width x height pixels, the
  // layout scaled with its aspect kept and letterboxed. Works on any Cairo
  // surface, vector ones included: nothing is kept as a picture.
  void draw(cairo_t* cr, int width, int height, const FrameView& view, double now,
            const PointerLook& pointer) const;

  // Brings a target up to date that still holds what update() drew there
  // last: only the elements whose look, place or visibility changed are
  // drawn again, inside the rectangles they cover then and now. Returns
  // those rectangles (empty: nothing changed, nothing was drawn). The first
  // call, a new size and a call after forget() draw everything.
  std::vector<DeviceRect> update(cairo_t* cr, int width, int height, const FrameView& view,
                                 double now, const PointerLook& pointer);

  // The target of update() no longer holds its last picture (a new
  // surface): the next update() draws everything.
  void forget();

  // How many update() calls started from the kept picture of the scene's
  // setting (see backdrop.h) so far.
  long frames_over_backdrop() const;

  // Which button the pointer lights up and whether it is pressed, as one
  // number (-1 for none): a window redraws for the pointer only when it
  // changes (the focus ring it compares itself: it sets it).
  int look_key(const FrameView& view, const PointerLook& pointer) const;

  // What the renderer could not make sense of in the scene's elements (bad
  // members, wrong record kinds), one message each naming the element. Such
  // parts are skipped or drawn with defaults.
  const std::vector<std::string>& problems() const;

  // The compiled elements, for finding buttons and focusable controls.
  const std::vector<render::Node>& nodes() const;

 private:
  struct Compiled;
  std::unique_ptr<Compiled> compiled_;
};

// Draws the scene at width x height into a PNG file. False (with the message
// "PATH: cannot write WHAT: reason" on standard error) when it cannot be
// written; the file then is not there, or keeps its old content.
// `look` is the pointer and focus ring drawn (none by default).
bool write_scene_png(const std::string& path, const FrameView& view, int width, int height,
                     const PointerLook& look = PointerLook{},
                     const std::string& what = "the picture");

}  // namespace kvr

#endif
