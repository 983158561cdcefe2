#include "scene_renderer.h"

#include <algorithm>
#include <cmath>

#include "buttons.h"
#include "compiler.h"
#include "draw_context.h"
#include "element_model.h"
#include "layer_cache.h"
#include "painter.h"
#include "text.h"

namespace kvr {

using namespace render;

struct SceneRenderer::Compiled {
  double width = 800.0;
  double height = 600.0;
  Fonts fonts;
  std::vector<Node> nodes;
  std::vector<std::string> problems;
  // Pictures of the layer groups, redrawn when their inputs change.
  std::unique_ptr<LayerCaches> layers;
};

SceneRenderer::SceneRenderer(const Scene& scene) : compiled_(std::make_unique<Compiled>()) {
  Compiled& c = *compiled_;
  c.width = scene.width;
  c.height = scene.height;
  TextMeasure measure(c.fonts);
  ElementCompiler compiler(scene, c.problems, measure);
  if (scene.elements.is_array()) {
    for (std::size_t i = 0; i < scene.elements.size(); ++i)
      c.nodes.push_back(compiler.element(scene.elements[i], "elements[" + std::to_string(i) + "]"));
  }
  c.layers = std::make_unique<LayerCaches>(compiler.layers());
}

SceneRenderer::~SceneRenderer() = default;

const std::vector<std::string>& SceneRenderer::problems() const {
  return compiled_->problems;
}

const std::vector<Node>& SceneRenderer::nodes() const {
  return compiled_->nodes;
}

void SceneRenderer::draw(cairo_t* cr, int width, int height, const FrameView& view, double now,
                         const PointerLook& pointer) const {
  const Compiled& c = *compiled_;
  cairo_save(cr);
  double w = width, h = height;
  double s = std::min(w / c.width, h / c.height);
  // Letterbox bars, drawn only where the layout leaves room.
  double bar_x = (w - s * c.width) / 2.0, bar_y = (h - s * c.height) / 2.0;
  cairo_set_source_rgb(cr, 0.10, 0.11, 0.13);
  if (bar_x > 0.0) {
    cairo_rectangle(cr, 0.0, 0.0, std::ceil(bar_x), h);
    cairo_rectangle(cr, std::floor(w - bar_x), 0.0, std::ceil(bar_x), h);
  }
  if (bar_y > 0.0) {
    cairo_rectangle(cr, 0.0, 0.0, w, std::ceil(bar_y));
    cairo_rectangle(cr, 0.0, std::floor(h - bar_y), w, std::ceil(bar_y));
  }
  cairo_fill(cr);
  // Layout units, origin at the bottom-left corner, y up.
  cairo_translate(cr, (w - s * c.width) / 2.0, (h - s * c.height) / 2.0 + s * c.height);
  cairo_scale(cr, s, -s);
  cairo_rectangle(cr, 0.0, 0.0, c.width, c.height);
  cairo_clip(cr);
  cairo_set_source_rgb(cr, 0.97, 0.97, 0.95);
  cairo_paint(cr);
  cairo_set_font_options(cr, c.fonts.options());
  if (view.scene != nullptr) {
    DrawContext dc{cr, view, now, Interaction{pointer, look_key(view, pointer)}, c.fonts};
    Painter painter(dc, c.layers.get());
    for (const Node& n : c.nodes) painter.node(n);
  }
  cairo_restore(cr);
}

int SceneRenderer::look_key(const FrameView& view, const PointerLook& pointer) const {
  if (view.scene == nullptr) return -1;
  int hot = -1;
  for (const Node& n : compiled_->nodes) {
    int h = hot_button(n, view, pointer);
    if (h >= 0) hot = h;
  }
  // Sliding groups move their buttons; the look follows the layout at rest.
  // One number per look: the lit button and whether it is pressed, times a
  // million, plus the focus ring's scope and place (each below 1000).
  int lit = hot < 0 ? 0 : hot * 2 + (pointer.buttons == 1 ? 1 : 0) + 1;
  int ring =
      pointer.focus.order < 0 ? 0 : (pointer.focus.scope + 1) * 1000 + pointer.focus.order + 1;
  return lit == 0 && ring == 0 ? -1 : lit * 1'000'000 + ring;
}

}  // namespace kvr
