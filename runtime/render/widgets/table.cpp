#include "layout/table_layout.h"
#include "model/palette.h"
#include "model/table_grid.h"
#include "text/text.h"
#include "values/frame_values.h"
#include "values/records.h"
#include "values/table_state.h"
#include "widgets/charts.h"

namespace kvr::render {

void draw_table(const DrawContext& dc, const Node& n) {
  cairo_t* cr = dc.cr;
  std::size_t columns = n.columns.size();
  if (columns == 0) return;
  TableGrid g(n);
  // A frame drawn by its changes draws only the texts it needs.
  auto needed = [&](std::size_t part) {
    return dc.culling == nullptr || n.parts < 0 ||
           dc.culling->needs(n.parts + static_cast<int>(part));
  };
  Rgba stripe{0.95, 0.96, 0.98, 1.0};
  Rgba highlight{1.0, 0.93, 0.70, 1.0};
  bool two_lines = table_second_lines(n, dc.view);
  // Header band.
  cairo_new_path(cr);
  cairo_rectangle(cr, n.x1, n.y2 - g.row_h, n.x2 - n.x1, g.row_h);
  set_rgba(cr, {0.86, 0.90, 0.95, 1.0});
  cairo_fill(cr);
  for (std::size_t c = 0; c < columns; ++c) {
    if (!needed(header_part(c))) continue;
    draw_text(cr, dc.fonts, n.columns[c], g.centre(n, c),
              centred_baseline(n.y2 - g.row_h / 2.0, n.header_size), n.header_size, true,
              Align::Center, kLook.text, g.cell_w - 3.0);
  }
  for (std::size_t r = 0; r < n.rows.size(); ++r) {
    const TableRow& row = n.rows[r];
    double top = g.top(n, r);
    bool lit = table_row_lit(n, r, dc.view);
    if (lit || r % 2 == 1) {
      cairo_new_path(cr);
      cairo_rectangle(cr, n.x1, top - g.row_h, n.x2 - n.x1, g.row_h);
      set_rgba(cr, lit ? highlight : stripe);
      cairo_fill(cr);
    }
    RowBaselines b = baselines(n, g, r, two_lines);
    if (needed(caption_part(n, r)))
      draw_text(cr, dc.fonts, row.caption, n.x1 + 5.0, b.base, n.size, lit, Align::Left, kLook.text,
                n.caption_width - 8.0);
    for (std::size_t c = 0; c < row.cells.size() && c < columns; ++c) {
      if (!needed(cell_part(n, r, c))) continue;
      const ElementValues& texts = dc.values->table_part(n, cell_part(n, r, c), dc.view);
      const std::string& value = texts.line(0);
      double cx = g.centre(n, c);
      draw_text(cr, dc.fonts, value, cx, b.value, n.size, lit, Align::Center, kLook.text,
                g.cell_w - 3.0);
      if (two_lines && c < row.second.size()) {
        const std::string& second = texts.line(1);
        draw_text(cr, dc.fonts, second, cx, b.second, n.second_size, false, Align::Center,
                  kLook.reference, g.cell_w - 3.0);
      }
    }
  }
  cairo_new_path(cr);
  cairo_rectangle(cr, n.x1, n.y1, n.x2 - n.x1, n.y2 - n.y1);
  for (std::size_t c = 0; c < columns; ++c) {
    double x = n.x1 + n.caption_width + g.cell_w * static_cast<double>(c);
    cairo_move_to(cr, x, n.y1);
    cairo_line_to(cr, x, n.y2);
  }
  set_rgba(cr, {0.70, 0.73, 0.78, 1.0});
  cairo_set_line_width(cr, 0.7);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_BUTT);
  cairo_set_line_join(cr, CAIRO_LINE_JOIN_MITER);
  cairo_stroke(cr);
}

}  // namespace kvr::render
