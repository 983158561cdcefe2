// The result views laid out side by side: the scene's `grid` names a free
// area and the elements that are result views (the table, the charts, the
// runtime's cards of the house). Whichever of them are visible are placed
// in rows inside the area, all at one scale, as large as fits (never
// larger than drawn in the scene), keeping off the boxes the grid keeps
// clear (the house's heart, the thermal legend) and each other. The area
// grows into the window's margin on the sides the grid names, so a window
// wider than the layout leaves the house in view. Worked out again only
// when the set of visible views or the target's size changes.
#ifndef KVR_RENDER_VIEW_GRID_H
#define KVR_RENDER_VIEW_GRID_H

#include <cstdint>
#include <string>
#include <vector>

#include "backend.h"
#include "model/element_model.h"
#include "model/layout_transform.h"

namespace kvr::render {

struct GridSpec {
  Box area;               // where views go, layout units
  std::vector<Box> keep;  // never covered
  double gap = 4.0;       // between views, and around what is kept clear
  double min_scale = 0.5;
  // The sides the area grows on into the margin of a window of another
  // aspect than the layout's.
  bool grow_left = false, grow_right = false, grow_top = false, grow_bottom = false;
  std::vector<Box> views;  // each view's box as the scene draws it, in order
};

// At most this many views and boxes kept clear.
inline constexpr std::size_t kMaxGridViews = 32;
inline constexpr std::size_t kMaxGridKeep = 16;

// The area as it is on a target: grown into the margin (layout units) on
// the sides the grid names.
Box grid_room(const GridSpec& spec, const LayoutTransform& t, double layout_width,
              double layout_height);

// Places the views whose bit is set in `visible` (bit i: spec.views[i])
// inside `room`: out[i] for each of them. Returns the scale they share, 0
// when none is visible. Rows first, from the top, left to right in the
// grid's order; columns from the left when that fits larger. Below
// `min_scale` only when nothing larger fits. Allocates nothing.
double lay_out_views(const GridSpec& spec, std::uint32_t visible, const Box& room, Placement* out);

class ViewGrid {
 public:
  // Resolves the grid's view names to the compiled elements, numbering
  // them (Node::grid_view) and keeping the conditions each is shown on.
  // What does not fit is reported on `problems` (`where` names the grid).
  void bind(GridSpec spec, const std::vector<std::string>& names, std::vector<Node>& nodes,
            const std::string& where, std::vector<std::string>& problems);

  bool present() const { return !placements_.empty(); }
  const GridSpec& spec() const { return spec_; }

  // Which views `view` shows now: bit i for view i.
  std::uint32_t visible(const FrameView& view) const;

  // The placements of the views for what `view` shows on a target of the
  // transform's size (nullptr without a grid): worked out again only when
  // the visible views or the size changed.
  const Placement* update(const FrameView& view, const LayoutTransform& t, double layout_width,
                          double layout_height);
  // Those worked out last.
  const Placement* placements() const { return placements_.empty() ? nullptr : &placements_[0]; }

 private:
  GridSpec spec_;
  // The conditions of each view and of every group around it.
  std::vector<std::vector<const Cond*>> shown_on_;
  std::vector<Placement> placements_;
  std::uint32_t mask_ = 0;
  int width_ = -1, height_ = -1;
};

}  // namespace kvr::render

#endif
