// Where a table's texts draw: the baselines of a row's caption, values
// and second lines, and the box of each text, for the damage of a frame
// drawn by its changes.
#ifndef KVR_RENDER_LAYOUT_TABLE_LAYOUT_H
#define KVR_RENDER_LAYOUT_TABLE_LAYOUT_H

#include <cstddef>

#include "backend.h"
#include "model/element_model.h"
#include "model/table_grid.h"
#include "text/text.h"
#include "values/frame_values.h"

namespace kvr::render {

// Where a row's values and their second lines sit: with second lines the
// value moves up and its second line sits below.
struct RowBaselines {
  double base, value, second;
};

inline RowBaselines baselines(const Node& n, const TableGrid& g, std::size_t r, bool two_lines) {
  double top = g.top(n, r);
  double base = centred_baseline(top - g.row_h / 2.0, n.size);
  RowBaselines b{base, base, base};
  if (two_lines) {
    b.value = centred_baseline(top - g.row_h / 2.0 + n.second_size * 0.55, n.size);
    b.second = centred_baseline(top - g.row_h / 2.0 - n.size * 0.5, n.second_size);
  }
  return b;
}

// Where a table's text `part` draws now (layout units).
// `values`: what the part shows in this frame.
Box table_part_ink(const Node& n, std::size_t part, const ElementValues& values,
                   const FrameView& view, const Fonts& fonts);

}  // namespace kvr::render

#endif
