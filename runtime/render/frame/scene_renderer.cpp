#include "frame/scene_renderer.h"

#include <algorithm>
#include <cmath>

#include "compile/compiler.h"
#include "frame/painter.h"
#include "layout/frame_tracker.h"
#include "layout/view_grid.h"
#include "model/draw_context.h"
#include "model/element_model.h"
#include "model/layout_transform.h"
#include "paint/backdrop.h"
#include "paint/hatch_masks.h"
#include "text/text.h"
#include "values/button_state.h"
#include "values/frame_values.h"

namespace kvr {

using namespace render;

namespace {

// Which top-level nodes a paint draws, and whether the letterbox and the
// layout's paper under them.
struct Part {
  std::size_t from = 0, to = static_cast<std::size_t>(-1);
  bool ground = true;
};

}  // namespace

struct SceneRenderer::Compiled {
  double width = 800.0;
  double height = 600.0;
  Fonts fonts;
  // What each element shows in the frame being drawn: read by the tracker
  // and the painter of one frame alike.
  mutable FrameValues values;
  std::vector<Node> nodes;
  // Where the result views are, for the size drawn last.
  mutable ViewGrid grid;
  mutable int last_width = 0, last_height = 0;
  std::vector<std::string> problems;
  FrameTracker tracker{0};
  HatchMasks hatch_masks{0};
  Backdrop backdrop;
  long over_backdrop = 0;  // frames drawn over the picture of the setting

  // The letterbox, the layout's paper and the elements (those `culling`
  // asks for, or all), on a target whose matrix is the identity.
  void paint(cairo_t* cr, const LayoutTransform& t, const FrameView& view, double now,
             const PointerLook& pointer, const Culling* culling, HatchMasks* masks,
             Part part = {}) const;

  // The result views placed for what `view` shows on a target of the
  // transform's size (nullptr without a grid).
  const Placement* place(const FrameView& view, const LayoutTransform& t) const {
    last_width = t.width;
    last_height = t.height;
    return view.scene != nullptr ? grid.update(view, t, width, height) : nullptr;
  }

  // The picture of the setting for a frame drawn by its changes on an
  // image target: made whole when it is not up to date, brought up to date
  // in the damage where the setting changed. Nullptr when there is none.
  cairo_surface_t* backdrop_for(cairo_t* cr, const LayoutTransform& t, const FrameView& view,
                                double now, const PointerLook& pointer,
                                const std::vector<DeviceRect>& damage, bool setting_changed);
};

SceneRenderer::SceneRenderer(const Scene& scene) : compiled_(std::make_unique<Compiled>()) {
  Compiled& c = *compiled_;
  c.width = scene.width;
  c.height = scene.height;
  // The compiler measures with the fonts the renderer keeps: the layouts
  // made for the bounds of literal texts serve their drawing too.
  TextMeasure measure(c.fonts);
  ElementCompiler compiler(scene, c.problems, measure);
  std::vector<int> slots_after;  // the slots used by each node and those before it
  if (scene.elements.is_array()) {
    for (std::size_t i = 0; i < scene.elements.size(); ++i) {
      c.nodes.push_back(compiler.element(scene.elements[i], "elements[" + std::to_string(i) + "]"));
      slots_after.push_back(compiler.leaves());
    }
  }
  compile_grid(scene, c.nodes, c.grid, c.problems);
  c.tracker = FrameTracker(compiler.leaves());
  c.hatch_masks = HatchMasks(compiler.leaves());
  c.backdrop.hold(c.nodes, slots_after);
}

SceneRenderer::~SceneRenderer() = default;

const std::vector<std::string>& SceneRenderer::problems() const {
  return compiled_->problems;
}

const std::vector<Node>& SceneRenderer::nodes() const {
  return compiled_->nodes;
}

void SceneRenderer::Compiled::paint(cairo_t* cr, const LayoutTransform& t, const FrameView& view,
                                    double now, const PointerLook& pointer, const Culling* culling,
                                    HatchMasks* masks, Part part) const {
  cairo_save(cr);
  double w = t.width, h = t.height;
  double s = t.scale;
  // Letterbox bars, drawn only where the layout leaves room.
  double bar_x = (w - s * width) / 2.0, bar_y = (h - s * height) / 2.0;
  cairo_set_source_rgb(cr, 0.10, 0.11, 0.13);
  if (bar_x > 0.0 && part.ground) {
    cairo_rectangle(cr, 0.0, 0.0, std::ceil(bar_x), h);
    cairo_rectangle(cr, std::floor(w - bar_x), 0.0, std::ceil(bar_x), h);
  }
  if (bar_y > 0.0 && part.ground) {
    cairo_rectangle(cr, 0.0, 0.0, w, std::ceil(bar_y));
    cairo_rectangle(cr, 0.0, std::floor(h - bar_y), w, std::ceil(bar_y));
  }
  cairo_fill(cr);
  // Layout units, origin at the bottom-left corner, y up. The result views
  // may take the margin beside the layout.
  t.apply(cr);
  Box shown{0.0, 0.0, width, height};
  if (grid.present()) shown.add(grid_room(grid.spec(), t, width, height));
  cairo_rectangle(cr, shown.x1, shown.y1, shown.x2 - shown.x1, shown.y2 - shown.y1);
  cairo_clip(cr);
  if (part.ground) {
    cairo_set_source_rgb(cr, 0.97, 0.97, 0.95);
    cairo_rectangle(cr, 0.0, 0.0, width, height);
    cairo_fill(cr);
  }
  cairo_set_font_options(cr, fonts.options());
  plain_strokes(cr);
  if (view.scene != nullptr) {
    DrawContext dc{cr, view, now, Interaction{pointer}, fonts, culling, masks, &values};
    dc.placements = place(view, t);
    Painter painter(dc);
    for (std::size_t i = part.from; i < nodes.size() && i < part.to; ++i) painter.node(nodes[i]);
  }
  cairo_restore(cr);
}

cairo_surface_t* SceneRenderer::Compiled::backdrop_for(cairo_t* cr, const LayoutTransform& t,
                                                       const FrameView& view, double now,
                                                       const PointerLook& pointer,
                                                       const std::vector<DeviceRect>& damage,
                                                       bool setting_changed) {
  cairo_surface_t* target = cairo_get_target(cr);
  if (cairo_surface_get_type(target) != CAIRO_SURFACE_TYPE_IMAGE) return nullptr;
  bool current = false;
  cairo_surface_t* picture =
      backdrop.picture(t.width, t.height, cairo_image_surface_get_format(target), current);
  if (picture == nullptr || (current && !setting_changed)) return picture;
  // A new picture is drawn whole, one out of date where it changed.
  cairo_t* pc = cairo_create(picture);
  Culling culling{&damage, &tracker.rects()};
  if (current) {
    for (const DeviceRect& r : damage) cairo_rectangle(pc, r.x, r.y, r.width, r.height);
    cairo_clip(pc);
  }
  paint(pc, t, view, now, pointer, current ? &culling : nullptr, &hatch_masks,
        {0, backdrop.nodes(), true});
  cairo_destroy(pc);
  cairo_surface_flush(picture);
  backdrop.set_current(true);
  return picture;
}

void SceneRenderer::draw(cairo_t* cr, int width, int height, const FrameView& view, double now,
                         const PointerLook& pointer) const {
  const Compiled& c = *compiled_;
  c.fonts.trim();
  c.values.next_frame();
  LayoutTransform t(width, height, c.width, c.height);
  cairo_save(cr);
  c.paint(cr, t, view, now, pointer, nullptr, nullptr);
  cairo_restore(cr);
}

std::vector<DeviceRect> SceneRenderer::update(cairo_t* cr, int width, int height,
                                              const FrameView& view, double now,
                                              const PointerLook& pointer) {
  Compiled& c = *compiled_;
  LayoutTransform t(width, height, c.width, c.height);
  if (view.scene == nullptr) {
    c.tracker.forget();
    draw(cr, width, height, view, now, pointer);
    return {{0, 0, width, height}};
  }
  c.fonts.trim();
  c.values.next_frame();
  DrawContext dc{cr, view, now, Interaction{pointer}, c.fonts, nullptr, nullptr, &c.values};
  dc.placements = c.place(view, t);
  std::vector<DeviceRect> damage = c.tracker.track(c.nodes, dc, t);
  if (damage.empty()) return damage;
  bool setting_changed = c.tracker.first_change() < c.backdrop.slots();
  bool whole = damage.size() == 1 && damage[0] == DeviceRect{0, 0, width, height};
  // Hatching is kept as masks only for a raster target.
  bool raster = cairo_surface_get_type(cairo_get_target(cr)) == CAIRO_SURFACE_TYPE_IMAGE;
  // A frame drawn by its changes starts from the picture of the setting.
  cairo_surface_t* picture = nullptr;
  if (raster && !whole)
    picture = c.backdrop_for(cr, t, view, now, pointer, damage, setting_changed);
  if (picture == nullptr && setting_changed) c.backdrop.set_current(false);
  cairo_save(cr);
  Culling culling{&damage, &c.tracker.rects()};
  if (!whole) {
    cairo_identity_matrix(cr);
    for (const DeviceRect& r : damage) cairo_rectangle(cr, r.x, r.y, r.width, r.height);
    cairo_clip(cr);
  }
  Part part;
  if (picture != nullptr) {
    // The picture is opaque (the paper is): painted over, it is copied.
    cairo_set_source_surface(cr, picture, 0.0, 0.0);
    cairo_paint(cr);
    part = {c.backdrop.nodes(), static_cast<std::size_t>(-1), false};
    ++c.over_backdrop;
  }
  c.paint(cr, t, view, now, pointer, whole ? nullptr : &culling, raster ? &c.hatch_masks : nullptr,
          part);
  cairo_restore(cr);
  return damage;
}

long SceneRenderer::frames_over_backdrop() const {
  return compiled_->over_backdrop;
}

void SceneRenderer::forget() {
  compiled_->tracker.forget();
}

const Placement* SceneRenderer::placements(const FrameView& view) const {
  const Compiled& c = *compiled_;
  if (c.last_width <= 0 || c.last_height <= 0) return nullptr;
  return c.place(view, LayoutTransform(c.last_width, c.last_height, c.width, c.height));
}

const ViewGrid& SceneRenderer::grid() const {
  return compiled_->grid;
}

int SceneRenderer::look_key(const FrameView& view, const PointerLook& pointer) const {
  if (view.scene == nullptr) return -1;
  const Placement* placed = placements(view);
  int hot = -1;
  for (const Node& n : compiled_->nodes) {
    int h = hot_button(n, view, pointer, placed);
    if (h >= 0) hot = h;
  }
  // Sliding groups move their buttons; the look follows the layout at rest.
  return hot < 0 ? -1 : hot * 2 + (pointer.buttons == 1 ? 1 : 0);
}

}  // namespace kvr
