#include "model/colour_maps.h"
#include "model/geometry.h"
#include "model/palette.h"
#include "text/text.h"
#include "values/frame_values.h"
#include "values/records.h"
#include "widgets/charts.h"

namespace kvr::render {

void draw_gradient_legend(const DrawContext& dc, const Node& n) {
  cairo_t* cr = dc.cr;
  if (n.stops.empty()) return;
  cairo_pattern_t* gradient = cairo_pattern_create_linear(0.0, n.y1, 0.0, n.y2);
  if (n.ramp && cividis_palette(dc.view)) {
    // The temperature ramp in the palette for every eye: cividis from the
    // cold end, where the camera shows each temperature in it.
    for (int i = 0; i < kCividisStops; ++i) {
      double at = 0.0;
      Rgba c = cividis_stop(i, at);
      cairo_pattern_add_color_stop_rgba(gradient, at, c.r, c.g, c.b, c.a);
    }
  } else {
    for (const Stop& s : n.stops)
      cairo_pattern_add_color_stop_rgba(gradient, s.at, s.colour.r, s.colour.g, s.colour.b,
                                        s.colour.a);
  }
  rounded_path(cr, n.x1, n.y1, n.x2, n.y2, 2.0);
  cairo_set_source(cr, gradient);
  cairo_fill_preserve(cr);
  cairo_pattern_destroy(gradient);
  set_rgba(cr, {0.2, 0.2, 0.2, 0.8});
  cairo_set_line_width(cr, 0.8);
  cairo_set_line_join(cr, CAIRO_LINE_JOIN_MITER);
  cairo_stroke(cr);
  Rgba ink = colour_or(dc.view, n.colour, kLook.text);
  const ElementValues& labels = dc.values->of(n, dc.view);
  for (std::size_t i = 0; i < n.stops.size(); ++i) {
    const Stop& s = n.stops[i];
    const std::string& label = labels.line(i);
    if (label.empty()) continue;
    double y = n.y1 + (n.y2 - n.y1) * s.at;
    cairo_new_path(cr);
    cairo_move_to(cr, n.x2, y);
    cairo_line_to(cr, n.x2 + 4.0, y);
    set_rgba(cr, ink);
    cairo_set_line_width(cr, 1.0);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_BUTT);
    cairo_stroke(cr);
    draw_text(cr, dc.fonts, label + n.unit, n.x2 + 6.0, centred_baseline(y, n.size), n.size, false,
              Align::Left, ink, 0.0);
  }
}

}  // namespace kvr::render
