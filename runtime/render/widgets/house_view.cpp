// A view of the house drawn by the runtime: a card over the scene with a
// title and rows of cells at the element's tabs (values/house_texts.h
// says what each line is). Rows that warn are written in the colour of a
// worse value, with a mark before them, so that no reading depends on
// colour alone. And the same mark on the house drawing, on each surface at
// risk.
#include "model/geometry.h"
#include "model/palette.h"
#include "text/text.h"
#include "values/frame_values.h"
#include "values/records.h"
#include "widgets/charts.h"

namespace kvr::render {

void draw_house_view(const DrawContext& dc, const Node& n) {
  cairo_t* cr = dc.cr;
  rounded_path(cr, n.x1, n.y1, n.x2, n.y2, 4.0);
  set_rgba(cr, {1.0, 1.0, 1.0, 0.96});
  cairo_fill_preserve(cr);
  set_rgba(cr, kLook.button_edge);
  cairo_set_line_width(cr, 1.0);
  cairo_stroke(cr);
  const ElementValues& lines = dc.values->of(n, dc.view);
  double left = n.x1 + 8.0, right = n.x2 - 6.0;
  double y = n.y2 - n.size * 1.6;
  for (std::size_t i = 0; i < lines.count && y > n.y1 + n.size * 0.3; ++i) {
    const std::string& line = lines.line(i);
    if (line.empty()) continue;
    char how = line[0];
    double size = how == 'T' ? n.size * 1.25 : how == 'M' ? n.size * 0.9 : n.size;
    bool bold = how == 'T' || how == 'H';
    Rgba ink = how == 'W' ? kLook.worse : how == 'M' || how == 'H' ? kLook.muted : kLook.text;
    std::size_t from = 1, column = 0;
    while (from <= line.size()) {
      std::size_t tab = line.find('\t', from);
      std::string cell =
          line.substr(from, tab == std::string::npos ? std::string::npos : tab - from);
      double x = left + (column < n.tabs.size() && how != 'T' && how != 'N' ? n.tabs[column] : 0.0);
      double next = column + 1 < n.tabs.size() ? left + n.tabs[column + 1] - 4.0 : right;
      if (how == 'T' || how == 'N' || tab == std::string::npos) next = right;
      if (how == 'W' && column == 0) cell = "▲ " + cell;
      if (!cell.empty())
        draw_text(cr, dc.fonts, cell, x, y, size, bold, Align::Left, ink, next - x);
      if (tab == std::string::npos) break;
      from = tab + 1;
      ++column;
    }
    y -= how == 'T' ? n.size * 1.9 : how == 'M' ? n.size * 1.35 : n.size * 1.5;
  }
}

// A « ▲ » of side `size` centred on each mark whose surface is at risk:
// red for condensation, amber for mould, outlined in white and dark grey
// so that it stands out on brick and on the thermal camera's colours
// alike, with a « ! » inside.
void draw_surface_marks(const DrawContext& dc, const Node& n) {
  const ElementValues& values = dc.values->of(n, dc.view);
  const std::string& risks = values.line(0);
  cairo_t* cr = dc.cr;
  const double s = n.size;
  constexpr Rgba mould{0.90, 0.52, 0.05, 1.0};
  for (std::size_t i = 0; i < n.marks.size() && i < risks.size(); ++i) {
    const SurfaceMark& m = n.marks[i];
    if (risks[i] == ' ' || (m.has_visible && !holds(m.visible, dc.view))) continue;
    cairo_new_path(cr);
    cairo_move_to(cr, m.at.x, m.at.y + s * 0.58);
    cairo_line_to(cr, m.at.x - s * 0.5, m.at.y - s * 0.29);
    cairo_line_to(cr, m.at.x + s * 0.5, m.at.y - s * 0.29);
    cairo_close_path(cr);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    set_rgba(cr, {0.12, 0.15, 0.19, 0.75});
    cairo_set_line_width(cr, 4.0);
    cairo_stroke_preserve(cr);
    set_rgba(cr, {1.0, 1.0, 1.0, 1.0});
    cairo_set_line_width(cr, 2.0);
    cairo_stroke_preserve(cr);
    set_rgba(cr, risks[i] == 'C' ? kLook.worse : mould);
    cairo_fill(cr);
    draw_text(cr, dc.fonts, "!", m.at.x, m.at.y - s * 0.2, s * 0.6, true, Align::Center,
              {1.0, 1.0, 1.0, 1.0}, 0.0);
  }
}

}  // namespace kvr::render
