// The window's pointer handling without SDL: mapping window positions to
// layout units, the queue that hands button events to the program one
// state per poll, and the clicks the runtime keeps or translates (its own
// command buttons, buttons that stand for the right button, the keyboard's
// clicks). Kept apart from SDL so that it can be tested anywhere.
#ifndef KVR_WINDOW_WINDOW_INPUT_H
#define KVR_WINDOW_WINDOW_INPUT_H

#include <cstdint>
#include <deque>
#include <functional>
#include <optional>

#include "commands.h"
#include "frame/scene_renderer.h"
#include "model/element_model.h"

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

// The mouse id the window system gives the mouse events it makes from
// touches (SDL_TOUCH_MOUSEID).
inline constexpr std::uint32_t kTouchMouseId = 0xFFFFFFFFu;

// The button a mouse event stands for: a touch (a tap) is the left button,
// whatever button number came with it.
int physical_button(std::uint32_t mouse_id, int button);

// What a left press at a layout point does (the scene's button there).
using ButtonLookup = std::function<render::ButtonAction(std::int32_t x, std::int32_t y)>;

class PointerInput {
 public:
  void set_viewport(const Viewport& viewport) { viewport_ = viewport; }
  // Without a lookup every press is the program's.
  void set_button_lookup(ButtonLookup lookup) { lookup_ = std::move(lookup); }
  void motion(double window_x, double window_y);
  // A press or release; true when it changed what the pointer shows. A
  // left press on a command button is kept from the program (its release
  // on the same button makes take_command() return the command); one on a
  // press_as button reaches the program as a press with that state.
  bool button(int physical, bool down, double window_x, double window_y);

  // A click made by the keyboard: a press with `state` at (x, y), then the
  // release, queued for the program.
  void click(std::int32_t x, std::int32_t y, std::int32_t state);

  // The command of a command button clicked since the last call.
  std::optional<Command> take_command();

  bool pending() const { return !queue_.empty(); }
  // The oldest queued state, else the current one.
  PointerState next();
  // What next() would return, without taking it.
  PointerState peek() const {
    return queue_.empty() ? PointerState{program_x(), program_y(), buttons_} : queue_.front();
  }
  // Where the pointer is now and which buttons are down, for the hover and
  // pressed looks, with the focus ring.
  PointerLook look() const { return {x_, y_, look_buttons_, focus_}; }
  void set_focus(const FocusMark& focus) { focus_ = focus; }
  // Forgets queued states and a clicked command (a click kept by the
  // runtime to dismiss a page).
  void clear() {
    queue_.clear();
    command_.reset();
  }

  static constexpr std::size_t kQueueLimit = 256;

 private:
  bool left(bool down);
  void hand(std::int32_t buttons);  // a new button state for the program, queued
  std::int32_t program_x() const { return held_.at_point ? held_.x : x_; }
  std::int32_t program_y() const { return held_.at_point ? held_.y : y_; }

  Viewport viewport_;
  ButtonLookup lookup_;
  std::int32_t x_ = 0, y_ = 0;     // layout units
  std::int32_t buttons_ = 0;       // as the program sees them
  std::int32_t look_buttons_ = 0;  // as they are: 1 left, 2 right
  render::ButtonAction held_;      // what the held left button does
  std::optional<Command> command_;
  FocusMark focus_;
  std::deque<PointerState> queue_;
};

}  // namespace kvr

#endif
