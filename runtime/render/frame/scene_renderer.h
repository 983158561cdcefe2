// Draws a loaded scene with Cairo from the bound program records: the one
// renderer behind the window and the headless pictures.
#ifndef KVR_RENDER_SCENE_RENDERER_H
#define KVR_RENDER_SCENE_RENDERER_H

#include <cairo.h>

#include <memory>
#include <string>
#include <vector>

#include "backend.h"
#include "model/device.h"

namespace kvr {

namespace render {
struct Node;
struct Placement;
class ViewGrid;
}  // namespace render

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

  // Where the result views of the scene's grid are for what `view` shows,
  // at the size drawn last (nullptr before the first frame or without a
  // grid): for finding the buttons they hold. Indexed by Node::grid_view.
  const render::Placement* placements(const FrameView& view) const;
  // The scene's grid of result views (empty when it has none).
  const render::ViewGrid& grid() const;

 private:
  struct Compiled;
  std::unique_ptr<Compiled> compiled_;
};

}  // namespace kvr

#endif
