// When the window draws, without SDL: a frame only when something it shows
// is out of date, at most one per display refresh, and how long a waiting
// poll may sleep meanwhile. Resizes coalesce here: a new size only makes
// the picture out of date, so however many arrive within one refresh, one
// frame is drawn, at the size the window has when it is drawn.
#ifndef KVR_WINDOW_FRAME_PACING_H
#define KVR_WINDOW_FRAME_PACING_H

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

}  // namespace kvr

#endif
