#include "layout/table_layout.h"

#include <string>

#include "values/records.h"
#include "values/table_state.h"

namespace kvr::render {

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

Box table_part_ink(const Node& n, std::size_t part, const ElementValues& values,
                   const FrameView& view, const Fonts& fonts) {
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
  ink.add(line_box(fonts, values.line(0), cx, b.value, n.size, lit, Align::Center, g.cell_w - 3.0));
  if (two_lines && at.column < row.second.size())
    ink.add(line_box(fonts, values.line(1), cx, b.second, n.second_size, false, Align::Center,
                     g.cell_w - 3.0));
  return ink;
}

}  // namespace kvr::render
