// Drawing a frame by its changes: each drawn element's look (the values it
// reads, its button state, its group's slide and fade), visibility and
// pixels are kept from the frame before; the damage is where an element
// appeared, went or changed, then and now.
#ifndef KVR_RENDER_FRAME_TRACKER_H
#define KVR_RENDER_FRAME_TRACKER_H

#include <climits>
#include <vector>

#include "model/draw_context.h"
#include "model/element_model.h"
#include "model/layout_transform.h"
#include "values/records.h"

namespace kvr::render {

class FrameTracker {
 public:
  explicit FrameTracker(int slots);

  // Walks the compiled elements as they would draw now, keeps each drawn
  // element's state and returns the rectangles that differ from the frame
  // tracked before (merged, in no order). The first frame, or the first
  // after forget() or at a new size, damages the whole target.
  const std::vector<DeviceRect>& track(const std::vector<Node>& nodes, const DrawContext& dc,
                                       const LayoutTransform& to_device);

  // Each drawn element's pixels in the frame tracked last (empty when
  // hidden), by slot.
  const std::vector<DeviceRect>& rects() const { return rects_; }

  void forget() { known_ = false; }

  // The first slot whose look, place or visibility changed in the frame
  // tracked last (slots are numbered in drawing order), or INT_MAX.
  int first_change() const { return first_change_; }

  // At most this many damaged rectangles are returned.
  static constexpr std::size_t kMaxRects = 12;

 private:
  struct Walk {
    // Where the groups around put what they hold: scaled by `scale` (a
    // result view placed by the grid), then moved by (dx, dy) (slides and
    // the grid), layout units.
    double scale = 1.0;
    double dx = 0.0, dy = 0.0;
    double alpha = 1.0;  // fade of the groups around
    DeviceRect clip;     // the layer region around, or the whole target
    Box map(const Box& b) const { return Placement{scale, dx, dy}.map(b); }
  };
  void walk(const Node& n, const Walk& w);
  void held(const Node& n, const Walk& w);  // a visible element, placed
  void leaf(const Node& n, const Walk& w);
  void table_parts(const Node& n, const Walk& w);
  template <class Ink>
  void settle(std::size_t slot, bool text, const Walk& w, Ink ink);
  void damage(const DeviceRect& r);

  // The key of what an element shows, built in key_.
  void put(const void* p, std::size_t size) {
    const auto* b = static_cast<const unsigned char*>(p);
    key_.insert(key_.end(), b, b + size);
  }
  void put_record(const unsigned char* bytes, int var);
  // The program's house, as it is and as pinned, and the runtime's views.
  void put_house(const FrameView& view);
  // Where the element is, and the palette it is coloured in.
  void put_motion(const Walk& w) {
    double motion[4] = {w.alpha, w.scale, w.dx, w.dy};
    put(motion, sizeof motion);
    key_.push_back(cividis_palette(dc_->view) ? 1 : 0);
  }

  void keep_texts_whole();

  struct Slot {
    bool shown = false;
    bool text = false;  // draws glyphs
    unsigned generation = 0;
    std::vector<unsigned char> key;
    Box ink;  // layout units, worked out for `key`
    bool ink_known = false;
  };
  std::vector<Slot> slots_;
  std::vector<DeviceRect> rects_;
  std::vector<DeviceRect> damage_;
  std::vector<unsigned char> key_;
  unsigned generation_ = 0;
  bool known_ = false;
  bool whole_ = false;  // the frame being tracked draws everything
  int first_change_ = 0;
  int width_ = 0, height_ = 0;
  const DrawContext* dc_ = nullptr;
  const LayoutTransform* to_device_ = nullptr;
};

// Unites rectangles where that draws few more pixels than they cover, then,
// while more than `limit` remain, the two whose union adds the fewest.
void merge_rects(std::vector<DeviceRect>& rects, std::size_t limit);

}  // namespace kvr::render

#endif
