// The values of a frame: what each drawn element shows, read from the
// records and composed once per element per frame (its texts, the line
// that compares it with the reference, its class letters), then read by
// the frame tracker, the ink bounds and the painter alike.
#ifndef KVR_RENDER_VALUES_FRAME_VALUES_H
#define KVR_RENDER_VALUES_FRAME_VALUES_H

#include <cstddef>
#include <string>
#include <vector>

#include "backend.h"
#include "improvements.h"
#include "model/element_model.h"

namespace kvr::render {

// What one element shows, by kind:
//   text, button, site marker: its text;
//   comparison: its line (empty while nothing is pinned) and `verdict`;
//   class distance: its lines (none at the best letter);
//   gradient legend: each stop's label, trimmed;
//   bar chart: each bar's value, trimmed, then each bar's pinned value;
//   class scale: the letter marked, the letter pinned (empty while nothing
//     is), the note (empty until its bound texts hold something);
//   a table's cell: its value and its second line, trimmed;
//   house view: its lines (values/house_texts.h).
struct ElementValues {
  std::vector<std::string> lines;
  std::size_t count = 0;  // lines in use: the vector keeps its strings
  int verdict = 0;        // comparison: 1 better, -1 worse, 0 the same

  const std::string& line(std::size_t i) const {
    static const std::string none;
    return i < count ? lines[i] : none;
  }
};

class FrameValues {
 public:
  // Values asked for from here on are read anew: the records may have
  // changed since.
  void next_frame() { ++frame_; }

  // What element `n` shows in this frame, read on the first call.
  const ElementValues& of(const Node& n, const FrameView& view);
  // What text `part` of table `n` shows (model/table_grid.h numbers them).
  const ElementValues& table_part(const Node& n, std::size_t part, const FrameView& view);

 private:
  struct Entry {
    unsigned frame = 0;
    ElementValues values;
  };
  // The entry of `slot`, and whether it was read in this frame; elements
  // without a slot share a scratch entry, read on every call.
  ElementValues& entry(int slot, bool& current);

  std::vector<Entry> entries_;
  house::AdviceCache advice_;  // the « pistes d'amélioration », kept while the house stays
  ElementValues scratch_;
  unsigned frame_ = 1;
};

}  // namespace kvr::render

#endif
