#include "values/table_state.h"

#include "values/records.h"

namespace kvr::render {

bool table_row_lit(const Node& n, std::size_t row, const FrameView& view) {
  return row < n.rows.size() && n.rows[row].has_highlight && holds(n.rows[row].highlight, view);
}

bool table_second_lines(const Node& n, const FrameView& view) {
  return n.has_second && holds(n.second_visible, view);
}

}  // namespace kvr::render
