#include "touch_gestures.h"

#include <cmath>

namespace kvr {

namespace {
constexpr int kLeft = 1;
constexpr int kRight = 3;
}  // namespace

void TouchGestures::down(std::int64_t finger, double x, double y, double now) {
  if (phase_ != Phase::None) return;
  phase_ = Phase::Waiting;
  finger_ = finger;
  started_ = now;
  x0_ = x;
  y0_ = y;
  // The control under the finger lights up, as under a mouse.
  motion_(x, y);
}

void TouchGestures::move(std::int64_t finger, double x, double y) {
  if (phase_ == Phase::None || finger != finger_) return;
  if (phase_ == Phase::Waiting) {
    if (std::hypot(x - x0_, y - y0_) <= kSlop) return;
    // A drag: the left button goes down where the finger first touched.
    phase_ = Phase::Dragging;
    button_(kLeft, true, x0_, y0_);
  }
  motion_(x, y);
}

void TouchGestures::up(std::int64_t finger, double x, double y) {
  if (phase_ == Phase::None || finger != finger_) return;
  switch (phase_) {
    case Phase::Waiting:
      // A tap clicks where the finger touched, whatever it strayed since.
      button_(kLeft, true, x0_, y0_);
      button_(kLeft, false, x0_, y0_);
      break;
    case Phase::Dragging:
      button_(kLeft, false, x, y);
      break;
    case Phase::Held:
      button_(kRight, false, x, y);
      break;
    case Phase::None:
      break;
  }
  phase_ = Phase::None;
}

void TouchGestures::tick(double now) {
  if (phase_ != Phase::Waiting || now < started_ + kLongPress) return;
  phase_ = Phase::Held;
  button_(kRight, true, x0_, y0_);
}

}  // namespace kvr
