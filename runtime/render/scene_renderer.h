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

// Where the pointer is, for the hover and pressed looks of buttons (layout
// units, origin bottom-left). Never changes what the program sees.
struct PointerLook {
  int x = -1;
  int y = -1;
  int buttons = 0;
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
  // layout scaled with its aspect kept and letterboxed.
  void draw(cairo_t* cr, int width, int height, const FrameView& view, double now,
            const PointerLook& pointer) const;

  // Which button the pointer lights up and whether it is pressed, as one
  // number (-1 for none): a window redraws for the pointer only when it
  // changes.
  int look_key(const FrameView& view, const PointerLook& pointer) const;

  // What the renderer could not make sense of in the scene's elements (bad
  // members, wrong record kinds), one message each naming the element. Such
  // parts are skipped or drawn with defaults.
  const std::vector<std::string>& problems() const;

 private:
  struct Compiled;
  std::unique_ptr<Compiled> compiled_;
};

// Draws the scene at width x height into a PNG file. False (with the message
// "PATH: cannot write WHAT: reason" on standard error) when it cannot be
// written; the file then is not there, or keeps its old content.
bool write_scene_png(const std::string& path, const FrameView& view, int width, int height,
                     const std::string& what = "the picture");

}  // namespace kvr

#endif
