#include "frame/painter.h"

#include <algorithm>
#include <cmath>

#include "model/palette.h"
#include "paint/shapes.h"
#include "text/text.h"
#include "values/frame_values.h"
#include "values/records.h"
#include "widgets/buttons.h"
#include "widgets/charts.h"

namespace kvr::render {

bool Culling::needs(int slot) const {
  if (damage == nullptr || rects == nullptr || slot < 0) return true;
  const DeviceRect& r = (*rects)[static_cast<std::size_t>(slot)];
  for (const DeviceRect& d : *damage)
    if (r.x < d.x + d.width && d.x < r.x + r.width && r.y < d.y + d.height && d.y < r.y + r.height)
      return true;
  return false;
}

void plain_strokes(cairo_t* cr) {
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_BUTT);
  cairo_set_line_join(cr, CAIRO_LINE_JOIN_MITER);
  cairo_set_line_width(cr, 2.0);
  cairo_set_dash(cr, nullptr, 0, 0.0);
}

void Painter::node(const Node& n) {
  if (dc_.culling != nullptr && !dc_.culling->needs(n.slot)) return;
  const FrameView& view = dc_.view;
  if (n.kind == Kind::SiteMarker) {
    draw_site_marker(dc_, n, holds(n.visible, view));
    return;
  }
  if (n.has_visible && !holds(n.visible, view)) return;
  if (n.grid_view >= 0 && dc_.placements != nullptr) {
    // A result view of the grid, drawn where the layout step put it; its
    // buttons light where it is.
    const Placement& at = dc_.placements[n.grid_view];
    cairo_t* cr = dc_.cr;
    cairo_save(cr);
    cairo_translate(cr, at.dx, at.dy);
    cairo_scale(cr, at.scale, at.scale);
    DrawContext placed = dc_;
    placed.at = &at;
    Painter(placed).draw(n);
    cairo_restore(cr);
    return;
  }
  draw(n);
}

void Painter::draw(const Node& n) {
  const FrameView& view = dc_.view;
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
      draw_text(cr, dc_.fonts, dc_.values->of(n, view).line(0), n.label_at.x, n.label_at.y, n.size,
                n.bold, n.align, colour_or(view, n.colour, kLook.text), n.max_width);
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
    case Kind::HouseView:
      draw_house_view(dc_, n);
      return;
    case Kind::SurfaceMarks:
      draw_surface_marks(dc_, n);
      return;
  }
}

void Painter::children(const Node& n) {
  for (const Node& child : n.children) node(child);
}

void Painter::group(const Node& n) {
  cairo_t* cr = dc_.cr;
  const FrameView& view = dc_.view;
  if (n.layer.set && !moving(view, n.layer.anims, dc_.now)) {
    // The region in whole device pixels, as on every target.
    double dx1 = n.layer.x1, dy1 = n.layer.y2, dx2 = n.layer.x2, dy2 = n.layer.y1;
    cairo_user_to_device(cr, &dx1, &dy1);
    cairo_user_to_device(cr, &dx2, &dy2);
    int x = static_cast<int>(std::floor(std::min(dx1, dx2)));
    int y = static_cast<int>(std::floor(std::min(dy1, dy2)));
    int w = static_cast<int>(std::ceil(std::max(dx1, dx2))) - x;
    int h = static_cast<int>(std::ceil(std::max(dy1, dy2))) - y;
    if (w < 1 || h < 1) return;
    if (dc_.culling != nullptr && dc_.culling->damage != nullptr) {
      bool needed = false;
      for (const DeviceRect& d : *dc_.culling->damage)
        needed = needed || (x < d.x + d.width && d.x < x + w && y < d.y + d.height && d.y < y + h);
      if (!needed) return;
    }
    cairo_save(cr);
    cairo_matrix_t m;
    cairo_get_matrix(cr, &m);
    cairo_identity_matrix(cr);
    cairo_rectangle(cr, x, y, w, h);
    cairo_clip(cr);
    cairo_set_matrix(cr, &m);
    plain_strokes(cr);
    children(n);
    cairo_restore(cr);
    return;
  }
  GroupMotion motion = group_motion(n, view, dc_.now);
  if (motion.alpha <= 0.0) return;
  bool moved = motion.dx != 0.0 || motion.dy != 0.0;
  bool faded = motion.alpha < 1.0;
  if (moved || faded) cairo_save(cr);
  if (moved) cairo_translate(cr, motion.dx, motion.dy);
  if (faded) cairo_push_group(cr);
  children(n);
  if (faded) {
    cairo_pop_group_to_source(cr);
    cairo_paint_with_alpha(cr, motion.alpha);
  }
  if (moved || faded) cairo_restore(cr);
}

}  // namespace kvr::render
