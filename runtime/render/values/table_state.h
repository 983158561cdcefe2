// What a table shows in a frame besides its texts: which rows are lit and
// whether second lines are shown. A text's look and place follow from them
// and from the values it shows.
#ifndef KVR_RENDER_VALUES_TABLE_STATE_H
#define KVR_RENDER_VALUES_TABLE_STATE_H

#include <cstddef>

#include "backend.h"
#include "model/element_model.h"

namespace kvr::render {

bool table_row_lit(const Node& n, std::size_t row, const FrameView& view);
bool table_second_lines(const Node& n, const FrameView& view);

}  // namespace kvr::render

#endif
