#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <vector>

#include "model/palette.h"
#include "text/text.h"
#include "values/frame_values.h"
#include "values/records.h"
#include "widgets/charts.h"

namespace kvr::render {

void draw_bar_chart(const DrawContext& dc, const Node& n) {
  cairo_t* cr = dc.cr;
  std::size_t count = n.bars.size();
  if (count == 0) return;
  std::vector<std::string> values(count);
  std::vector<double> numbers(count);
  // While a reference is pinned, each bar with a reference gets a ghost:
  // the pinned value as an outlined bar beside it, on the same scale.
  bool ghosts =
      reference_pinned(dc.view) &&
      std::any_of(n.bars.begin(), n.bars.end(), [](const Bar& b) { return b.has_reference; });
  std::vector<double> pinned(count, 0.0);
  const ElementValues& shown_values = dc.values->of(n, dc.view);
  double top = n.scale_min;
  for (std::size_t i = 0; i < count; ++i) {
    values[i] = shown_values.line(i);
    numbers[i] = std::max(0.0, parse_number(values[i]));
    top = std::max(top, numbers[i]);
    if (ghosts && n.bars[i].has_reference) {
      pinned[i] = std::max(0.0, parse_number(shown_values.line(count + i)));
      top = std::max(top, pinned[i]);
    }
  }
  double label_band = n.size * 1.6;
  double value_band = n.size * 1.5;
  double base = n.y1 + label_band;
  double height = n.y2 - base - value_band;
  double slot = (n.x2 - n.x1) / static_cast<double>(count);
  double bar_w = ghosts ? slot * 0.38 : slot * 0.58;
  Rgba default_bar = colour_or(dc.view, n.fill, kLook.accent);
  for (std::size_t i = 0; i < count; ++i) {
    double cx = n.x1 + slot * (static_cast<double>(i) + 0.5);
    double bar_x = ghosts ? cx - slot * 0.38 : cx - bar_w / 2.0;
    double h = top > 0.0 ? height * numbers[i] / top : 0.0;
    if (h > 0.0) {
      cairo_new_path(cr);
      cairo_rectangle(cr, bar_x, base, bar_w, h);
      set_rgba(cr, n.bars[i].colour.set ? resolve(dc.view, n.bars[i].colour) : default_bar);
      cairo_fill(cr);
    }
    double ghost_h = 0.0;
    if (ghosts && n.bars[i].has_reference) {
      ghost_h = top > 0.0 ? height * pinned[i] / top : 0.0;
      double gx = cx + slot * 0.04, gw = slot * 0.32;
      cairo_new_path(cr);
      cairo_rectangle(cr, gx + 0.4, base + 0.4, gw - 0.8, std::max(ghost_h - 0.8, 0.0));
      Rgba ghost = kLook.reference;
      ghost.a = 0.12;
      set_rgba(cr, ghost);
      cairo_fill_preserve(cr);
      set_rgba(cr, kLook.reference);
      cairo_set_line_width(cr, 0.8);
      cairo_set_line_join(cr, CAIRO_LINE_JOIN_MITER);
      cairo_stroke(cr);
    }
    std::string shown = values[i].empty() ? "" : values[i] + n.unit;
    draw_text(cr, dc.fonts, shown, cx, base + std::max(h, ghost_h) + n.size * 0.45, n.size, true,
              Align::Center, kLook.text, slot - 2.0);
    draw_text(cr, dc.fonts, n.bars[i].label, cx, n.y1 + n.size * 0.45, n.size, false, Align::Center,
              kLook.muted, slot - 2.0);
  }
  cairo_new_path(cr);
  cairo_move_to(cr, n.x1, base);
  cairo_line_to(cr, n.x2, base);
  set_rgba(cr, kLook.muted);
  cairo_set_line_width(cr, 0.8);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_BUTT);
  cairo_stroke(cr);
}

}  // namespace kvr::render
