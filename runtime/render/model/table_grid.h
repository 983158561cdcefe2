// A table's grid and its texts, each tracked in a slot of its own so that
// a changed value redraws its cell alone: the column headers, then each
// row's caption and cells (a cell with its second line). They take the
// slots from the table's `parts` on, in that order.
#ifndef KVR_RENDER_MODEL_TABLE_GRID_H
#define KVR_RENDER_MODEL_TABLE_GRID_H

#include <cstddef>

#include "model/element_model.h"

namespace kvr::render {

// How many texts a table has, and which one each is.
inline std::size_t table_texts(const Node& n) {
  return n.columns.size() + n.rows.size() * (n.columns.size() + 1);
}
inline std::size_t header_part(std::size_t column) {
  return column;
}
inline std::size_t caption_part(const Node& n, std::size_t row) {
  return n.columns.size() + row * (n.columns.size() + 1);
}
inline std::size_t cell_part(const Node& n, std::size_t row, std::size_t column) {
  return caption_part(n, row) + 1 + column;
}

// Which text a part is: a header (`column`), or in row `row` its caption
// or the cell of `column`.
struct TablePartPlace {
  enum class What { Header, Caption, Cell } what = What::Header;
  std::size_t row = 0, column = 0;
};
inline TablePartPlace place_of(const Node& n, std::size_t part) {
  std::size_t columns = n.columns.size();
  if (part < columns) return {TablePartPlace::What::Header, 0, part};
  std::size_t row = (part - columns) / (columns + 1), at = (part - columns) % (columns + 1);
  if (at == 0) return {TablePartPlace::What::Caption, row, 0};
  return {TablePartPlace::What::Cell, row, at - 1};
}

// Rows (the header's included) and columns of a table, layout units.
struct TableGrid {
  double row_h = 0.0, cell_w = 0.0;

  explicit TableGrid(const Node& n)
      : row_h((n.y2 - n.y1) / static_cast<double>(n.rows.size() + 1)),
        cell_w((n.x2 - n.x1 - n.caption_width) / static_cast<double>(n.columns.size())) {}
  double centre(const Node& n, std::size_t column) const {
    return n.x1 + n.caption_width + cell_w * (static_cast<double>(column) + 0.5);
  }
  double top(const Node& n, std::size_t row) const {
    return n.y2 - row_h * static_cast<double>(row + 1);
  }
};

}  // namespace kvr::render

#endif
