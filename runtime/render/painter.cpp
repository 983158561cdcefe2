#include "painter.h"

#include "buttons.h"
#include "charts.h"
#include "layer_cache.h"
#include "palette.h"
#include "records.h"
#include "shapes.h"
#include "text.h"

namespace kvr::render {

void Painter::node(const Node& n) {
  const FrameView& view = dc_.view;
  if (n.kind == Kind::SiteMarker) {
    draw_site_marker(dc_, n, holds(n.visible, view));
    return;
  }
  if (n.has_visible && !holds(n.visible, view)) return;
  cairo_t* cr = dc_.cr;
  switch (n.kind) {
    case Kind::Group:
      group(n);
      return;
    case Kind::Rect:
      draw_rect(dc_, n);
      return;
    case Kind::Polygon:
      draw_polygon(dc_, n);
      return;
    case Kind::Polyline:
      draw_polyline(dc_, n);
      return;
    case Kind::Circle:
      draw_circle(dc_, n);
      return;
    case Kind::Text:
      draw_text(cr, dc_.fonts, compose(view, n.text), n.label_at.x, n.label_at.y, n.size, n.bold,
                n.align, colour_or(view, n.colour, kLook.text), n.max_width);
      return;
    case Kind::Paragraph:
      for (const Line& line : n.lines)
        draw_text(cr, dc_.fonts, line.text, line.x, line.y, line.size, line.bold, Align::Left,
                  colour_or(view, n.colour, kLook.text), 0.0);
      return;
    case Kind::Button:
      draw_button(dc_, n);
      return;
    case Kind::BarChart:
      draw_bar_chart(dc_, n);
      return;
    case Kind::GradientLegend:
      draw_gradient_legend(dc_, n);
      return;
    case Kind::ClassScale:
      draw_class_scale(dc_, n);
      return;
    case Kind::SiteMarker:
      return;
    case Kind::Table:
      draw_table(dc_, n);
      return;
    case Kind::Comparison:
      draw_comparison(dc_, n);
      return;
    case Kind::ClassDistance:
      draw_class_distance(dc_, n);
      return;
    case Kind::SceneRegion:
      draw_scene_region(dc_, n);
      return;
  }
}

void Painter::group(const Node& n) {
  if (n.layer.index >= 0 && layers_ != nullptr) {
    auto children = [&n](const DrawContext& inner) {
      Painter painter(inner, nullptr);
      for (const Node& child : n.children) painter.node(child);
    };
    if (layers_->draw(dc_, n, children)) return;
  }
  cairo_t* cr = dc_.cr;
  const FrameView& view = dc_.view;
  double alpha = 1.0;
  if (n.fade_anim >= 0 && view.state != nullptr)
    alpha = view.state->progress(*view.scene, n.fade_anim, dc_.now);
  if (alpha <= 0.0) return;
  double ease = 0.0;
  if (n.slide_anim >= 0 && view.state != nullptr) {
    double rest = 1.0 - view.state->progress(*view.scene, n.slide_anim, dc_.now);
    ease = rest * rest * rest;  // eases out: fast start, soft landing
  }
  bool moved = ease > 0.0;
  bool faded = alpha < 1.0;
  if (moved || faded) cairo_save(cr);
  if (moved) cairo_translate(cr, n.slide_from.x * ease, n.slide_from.y * ease);
  if (faded) cairo_push_group(cr);
  for (const Node& child : n.children) node(child);
  if (faded) {
    cairo_pop_group_to_source(cr);
    cairo_paint_with_alpha(cr, alpha);
  }
  if (moved || faded) cairo_restore(cr);
}

}  // namespace kvr::render
