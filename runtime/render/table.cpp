#include "charts.h"
#include "palette.h"
#include "records.h"
#include "text.h"

namespace kvr::render {

void draw_table(const DrawContext& dc, const Node& n) {
  cairo_t* cr = dc.cr;
  std::size_t columns = n.columns.size();
  if (columns == 0) return;
  double row_h = (n.y2 - n.y1) / static_cast<double>(n.rows.size() + 1);
  double cell_w = (n.x2 - n.x1 - n.caption_width) / static_cast<double>(columns);
  Rgba stripe{0.95, 0.96, 0.98, 1.0};
  Rgba highlight{1.0, 0.93, 0.70, 1.0};
  bool two_lines = n.has_second && holds(n.second_visible, dc.view);
  // Header band.
  cairo_new_path(cr);
  cairo_rectangle(cr, n.x1, n.y2 - row_h, n.x2 - n.x1, row_h);
  set_rgba(cr, {0.86, 0.90, 0.95, 1.0});
  cairo_fill(cr);
  for (std::size_t c = 0; c < columns; ++c) {
    double cx = n.x1 + n.caption_width + cell_w * (static_cast<double>(c) + 0.5);
    draw_text(cr, dc.fonts, n.columns[c], cx, centred_baseline(n.y2 - row_h / 2.0, n.header_size),
              n.header_size, true, Align::Center, kLook.text, cell_w - 3.0);
  }
  for (std::size_t r = 0; r < n.rows.size(); ++r) {
    const TableRow& row = n.rows[r];
    double top = n.y2 - row_h * static_cast<double>(r + 1);
    bool lit = row.has_highlight && holds(row.highlight, dc.view);
    if (lit || r % 2 == 1) {
      cairo_new_path(cr);
      cairo_rectangle(cr, n.x1, top - row_h, n.x2 - n.x1, row_h);
      set_rgba(cr, lit ? highlight : stripe);
      cairo_fill(cr);
    }
    double base = centred_baseline(top - row_h / 2.0, n.size);
    draw_text(cr, dc.fonts, row.caption, n.x1 + 5.0, base, n.size, lit, Align::Left, kLook.text,
              n.caption_width - 8.0);
    // With second lines, the value moves up and its second line sits below.
    double value_base = base, second_base = base;
    if (two_lines) {
      value_base = centred_baseline(top - row_h / 2.0 + n.second_size * 0.55, n.size);
      second_base = centred_baseline(top - row_h / 2.0 - n.size * 0.5, n.second_size);
    }
    for (std::size_t c = 0; c < row.cells.size() && c < columns; ++c) {
      std::string value(trimmed(compose(dc.view, row.cells[c])));
      double cx = n.x1 + n.caption_width + cell_w * (static_cast<double>(c) + 0.5);
      draw_text(cr, dc.fonts, value, cx, value_base, n.size, lit, Align::Center, kLook.text,
                cell_w - 3.0);
      if (two_lines && c < row.second.size()) {
        std::string second(trimmed(compose(dc.view, row.second[c])));
        draw_text(cr, dc.fonts, second, cx, second_base, n.second_size, false, Align::Center,
                  kLook.reference, cell_w - 3.0);
      }
    }
  }
  cairo_new_path(cr);
  cairo_rectangle(cr, n.x1, n.y1, n.x2 - n.x1, n.y2 - n.y1);
  for (std::size_t c = 0; c < columns; ++c) {
    double x = n.x1 + n.caption_width + cell_w * static_cast<double>(c);
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
