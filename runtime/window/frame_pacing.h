// When the window draws, without SDL: a frame only when something it shows
// is out of date (FrameWatch), at most one per display refresh
// (FramePacing), and how long a waiting poll may sleep meanwhile. Resizes
// coalesce here: a new size only makes the picture out of date, so however
// many arrive within one refresh, one frame is drawn, at the size the
// window has when it is drawn. Shared by the window and the browser
// backends.
#ifndef KVR_WINDOW_FRAME_PACING_H
#define KVR_WINDOW_FRAME_PACING_H

#include <cstdint>
#include <vector>

#include "backend.h"
#include "frame/scene_renderer.h"
#include "model/device.h"

namespace kvr {

class FramePacing {
 public:
  explicit FramePacing(double interval = 1.0 / 60.0) : interval_(interval) {}

  // Seconds between two display refreshes.
  void set_interval(double seconds) { interval_ = seconds > 0.0 ? seconds : interval_; }

  // Something shown is out of date (records, the lit button, a new size).
  void invalidate() { dirty_ = true; }
  bool dirty() const { return dirty_; }

  // A frame may be drawn at `now`: something is out of date and a refresh
  // has passed since the last frame.
  bool due(double now) const { return dirty_ && now >= next_; }

  // A frame was drawn at `now`. `moving`: an animation runs, so the next
  // refresh needs a frame too.
  void drawn(double now, bool moving) {
    dirty_ = moving;
    next_ = now + interval_;
  }

  // How long a poll that has nothing to hand out may sleep before the next
  // frame is due: -1 for until an event comes (nothing to draw), else whole
  // milliseconds, at least 1.
  int wait_ms(double now) const;

 private:
  double interval_;
  double next_ = 0.0;
  bool dirty_ = true;
};

// Whether the picture on screen is out of date: a fingerprint of what the
// program shows (the bound records' bytes, the scene's flags and
// animations), the button the pointer lights, the focus ring and the pinned
// reference, compared with what the last frame drawn showed.
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
