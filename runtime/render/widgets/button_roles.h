// Which button a press lands on, and so what the press does: the topmost
// visible live button strictly around the point (the program's own rule
// for its rectangles), with the action it carries.
#ifndef KVR_RENDER_BUTTON_ROLES_H
#define KVR_RENDER_BUTTON_ROLES_H

#include <cstdint>
#include <vector>

#include "backend.h"
#include "model/element_model.h"

namespace kvr::render {

// The topmost button under (x, y) in layout units, or nullptr. The buttons
// of a result view of the grid are where `placements` put it (nullptr: as
// the scene draws them).
const Node* button_at(const std::vector<Node>& nodes, const FrameView& view, std::int32_t x,
                      std::int32_t y, const Placement* placements = nullptr);

// What a left press at (x, y) does: the action of the button there, or a
// program press where there is no button.
ButtonAction action_at(const std::vector<Node>& nodes, const FrameView& view, std::int32_t x,
                       std::int32_t y, const Placement* placements = nullptr);

// A point strictly inside the button, where the keyboard's click of it is
// reported to the program: the middle, rounded down.
void press_point(const Node& button, std::int32_t& x, std::int32_t& y);

}  // namespace kvr::render

#endif
