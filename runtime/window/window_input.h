// The window's pointer handling without SDL: mapping window positions to
// layout units, and the queue that hands button events to the program one
// state per poll. Kept apart from SDL so that it can be tested anywhere.
#ifndef KVR_WINDOW_WINDOW_INPUT_H
#define KVR_WINDOW_WINDOW_INPUT_H

#include <cstdint>
#include <deque>

#include "scene_renderer.h"

namespace kvr {

// Window size in points, its drawable size in pixels (larger on HiDPI
// screens) and the scene's layout size.
struct Viewport {
  int window_width = 800;
  int window_height = 600;
  int pixel_width = 800;
  int pixel_height = 600;
  int layout_width = 800;
  int layout_height = 600;
};

struct PointerState {
  std::int32_t x = 0;
  std::int32_t y = 0;
  std::int32_t buttons = 0;
};

struct WindowSize {
  int width = 800;
  int height = 600;
};

// The largest window with the layout's aspect that takes at most nine
// tenths of the usable screen area.
WindowSize fit_window(int usable_width, int usable_height, int layout_width = 800,
                      int layout_height = 600);

// A window position (points) in layout units: origin at the bottom-left of
// the letterboxed layout, y up. Positions in the letterbox fall outside
// 0..width, 0..height.
void to_layout(const Viewport& viewport, double window_x, double window_y, std::int32_t* x,
               std::int32_t* y);

// Button numbers as the window system reports them.
enum PhysicalButton : int { kLeftButton = 1, kMiddleButton = 2, kRightButton = 3 };

class PointerInput {
 public:
  void set_viewport(const Viewport& viewport) { viewport_ = viewport; }
  void motion(double window_x, double window_y);
  // A press or release; true when it changed the button state and was
  // queued for the program.
  bool button(int physical, bool down, double window_x, double window_y);

  bool pending() const { return !queue_.empty(); }
  // The oldest queued state, else the current one.
  PointerState next();
  // What next() would return, without taking it.
  PointerState peek() const { return queue_.empty() ? current_ : queue_.front(); }
  // Where the pointer is now, for the hover and pressed looks.
  PointerLook look() const { return {current_.x, current_.y, current_.buttons}; }
  // Forgets queued states (a click kept by the runtime).
  void clear() { queue_.clear(); }

  static constexpr std::size_t kQueueLimit = 256;

 private:
  Viewport viewport_;
  PointerState current_;
  std::deque<PointerState> queue_;
};

}  // namespace kvr

#endif
