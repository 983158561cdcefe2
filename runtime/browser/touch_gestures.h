// Touches as the pointer, without SDL: a tap is a left click, a finger held
// still for half a second a right click (pressed then, released when the
// finger lifts), a finger that moves before that drags with the left button.
// Only the first finger counts; the others are ignored until it lifts.
// Positions are window units (CSS pixels of the canvas).
#ifndef KVR_BROWSER_TOUCH_GESTURES_H
#define KVR_BROWSER_TOUCH_GESTURES_H

#include <cstdint>
#include <functional>

namespace kvr {

class TouchGestures {
 public:
  // What a gesture does to the pointer: it moves, or a button (1 left,
  // 3 right, as the window system numbers them) goes down or up.
  using Motion = std::function<void(double x, double y)>;
  using Button = std::function<void(int button, bool down, double x, double y)>;

  static constexpr double kLongPress = 0.5;  // seconds held still for a right click
  static constexpr double kSlop = 10.0;      // how far a still finger may stray

  TouchGestures(Motion motion, Button button)
      : motion_(std::move(motion)), button_(std::move(button)) {}

  void down(std::int64_t finger, double x, double y, double now);
  void move(std::int64_t finger, double x, double y);
  void up(std::int64_t finger, double x, double y);
  // A finger held still since deadline() becomes a right press.
  void tick(double now);
  // When tick() has something to do, or a negative value when nothing waits.
  double deadline() const { return phase_ == Phase::Waiting ? started_ + kLongPress : -1.0; }

 private:
  enum class Phase : std::uint8_t { None, Waiting, Dragging, Held };

  Motion motion_;
  Button button_;
  Phase phase_ = Phase::None;
  std::int64_t finger_ = 0;
  double started_ = 0.0;
  double x0_ = 0.0, y0_ = 0.0;
};

}  // namespace kvr

#endif
