// Whether the picture on screen is out of date, without SDL: a fingerprint
// of what the program shows (the bound records' bytes, the scene's flags and
// animations), the button the pointer lights, the focus ring and the pinned
// reference, compared with what the last frame drawn showed. Shared by the
// window and the browser backends.
#ifndef KVR_WINDOW_FRAME_WATCH_H
#define KVR_WINDOW_FRAME_WATCH_H

#include <cstdint>
#include <vector>

#include "backend.h"
#include "frame/scene_renderer.h"
#include "model/device.h"

namespace kvr {

class FrameWatch {
 public:
  // Reads what `view` shows now, with the pointer's look (the renderer may
  // be null: no scene yet). True when it differs from what was drawn last,
  // or an animation runs at `now`.
  bool out_of_date(const FrameView& view, const SceneRenderer* renderer, const PointerLook& pointer,
                   double now);

  // The frame just drawn shows what the last out_of_date() read.
  void drawn();

  // The fingerprint the last out_of_date() took: what the program shows.
  const std::vector<unsigned char>& snapshot() const { return snapshot_; }

  // Whether one of the scene's animations is still running at `t`.
  static bool animating(const FrameView& view, double t);

 private:
  std::vector<unsigned char> snapshot_, shown_, checked_;
  PointerLook checked_pointer_{-100000, -100000, -1, {}};
  FocusMark focus_;
  int look_ = -1;
  int shown_look_ = -2;
  FocusMark shown_focus_;
  std::uint64_t pinned_ = 0;
  std::uint64_t shown_pinned_ = 0;
};

}  // namespace kvr

#endif
