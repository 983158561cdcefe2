// Whether a poll may wait for input, without SDL. The program changes only
// in answer to input: once a poll would hand it the same pointer state as
// the poll before, and nothing it shows changed since then, its next polls
// would repeat exactly what it just did. Such a poll may sleep until an
// event (or the next frame) instead of returning at once.
#ifndef KVR_WINDOW_STEADY_POLLS_H
#define KVR_WINDOW_STEADY_POLLS_H

#include <vector>

#include "window_input.h"

namespace kvr {

class SteadyPolls {
 public:
  // At a poll: the state it is about to hand out and what the program
  // shows now (the bound records' bytes, flags, animations).
  bool steady(const PointerState& next, const std::vector<unsigned char>& shown) const {
    return known_ && next.x == last_.x && next.y == last_.y && next.buttons == last_.buttons &&
           shown == shown_;
  }

  // The state a poll handed out and what was shown then.
  void handed(const PointerState& state, const std::vector<unsigned char>& shown) {
    last_ = state;
    shown_ = shown;
    known_ = true;
  }

  // The next poll returns at once whatever it hands out.
  void forget() { known_ = false; }

 private:
  bool known_ = false;
  PointerState last_;
  std::vector<unsigned char> shown_;
};

}  // namespace kvr

#endif
