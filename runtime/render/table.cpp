#include "charts.h"
#include "palette.h"
#include "records.h"
#include "table_parts.h"
#include "text.h"

namespace kvr::render {

namespace {

// Where a row's values and their second lines sit: with second lines the
// value moves up and its second line sits below.
struct RowBaselines {
  double base, value, second;
};

RowBaselines baselines(const Node& n, const TableGrid& g, std::size_t r, bool two_lines) {
  double top = g.top(n, r);
  double base = centred_baseline(top - g.row_h / 2.0, n.size);
  RowBaselines b{base, base, base};
  if (two_lines) {
    b.value = centred_baseline(top - g.row_h / 2.0 + n.second_size * 0.55, n.size);
    b.second = centred_baseline(top - g.row_h / 2.0 - n.size * 0.5, n.second_size);
  }
  return b;
}

}  // namespace

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
      std::string value(trimmed(compose(dc.view, row.cells[c])));
      double cx = g.centre(n, c);
      draw_text(cr, dc.fonts, value, cx, b.value, n.size, lit, Align::Center, kLook.text,
                g.cell_w - 3.0);
      if (two_lines && c < row.second.size()) {
        std::string second(trimmed(compose(dc.view, row.second[c])));
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

namespace {

// Where a line of a table draws. DejaVu Sans reaches 1.2 of the size above
// the baseline (an accent on a capital) and 0.24 below: a table's lines
// are boxed that close, for the boxes of a cell's value and second line
// to keep off the next row's, so that a changed cell does not take its
// whole column with it into the damage.
Box line_box(const Fonts& fonts, const std::string& s, double x, double y, double size, bool bold,
             Align align, double max_width) {
  Box b = text_box(fonts, s, x, y, size, bold, align, max_width);
  if (b.empty()) return b;
  return {b.x1, y - 0.3 * size, b.x2, y + 1.2 * size};
}

}  // namespace

bool table_row_lit(const Node& n, std::size_t row, const FrameView& view) {
  return row < n.rows.size() && n.rows[row].has_highlight && holds(n.rows[row].highlight, view);
}

bool table_second_lines(const Node& n, const FrameView& view) {
  return n.has_second && holds(n.second_visible, view);
}

Box table_part_ink(const Node& n, std::size_t part, const FrameView& view, const Fonts& fonts) {
  Box ink;
  if (n.columns.empty()) return ink;
  TableGrid g(n);
  TablePartPlace at = place_of(n, part);
  if (at.what == TablePartPlace::What::Header) {
    ink.add(line_box(fonts, n.columns[at.column], g.centre(n, at.column),
                     centred_baseline(n.y2 - g.row_h / 2.0, n.header_size), n.header_size, true,
                     Align::Center, g.cell_w - 3.0));
    return ink;
  }
  if (at.row >= n.rows.size()) return ink;
  const TableRow& row = n.rows[at.row];
  bool lit = table_row_lit(n, at.row, view), two_lines = table_second_lines(n, view);
  RowBaselines b = baselines(n, g, at.row, two_lines);
  if (at.what == TablePartPlace::What::Caption) {
    ink.add(line_box(fonts, row.caption, n.x1 + 5.0, b.base, n.size, lit, Align::Left,
                     n.caption_width - 8.0));
    return ink;
  }
  if (at.column >= row.cells.size()) return ink;
  double cx = g.centre(n, at.column);
  ink.add(line_box(fonts, std::string(trimmed(compose(view, row.cells[at.column]))), cx, b.value,
                   n.size, lit, Align::Center, g.cell_w - 3.0));
  if (two_lines && at.column < row.second.size())
    ink.add(line_box(fonts, std::string(trimmed(compose(view, row.second[at.column]))), cx,
                     b.second, n.second_size, false, Align::Center, g.cell_w - 3.0));
  return ink;
}

}  // namespace kvr::render
