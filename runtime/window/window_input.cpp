#include "window_input.h"

#include <algorithm>
#include <cmath>

namespace kvr {

WindowSize fit_window(int usable_width, int usable_height, int layout_width, int layout_height) {
  double room_w = 0.9 * std::max(usable_width, 1);
  double room_h = 0.9 * std::max(usable_height, 1);
  double scale = std::min(room_w / layout_width, room_h / layout_height);
  WindowSize size;
  size.width = std::max(1, static_cast<int>(std::floor(layout_width * scale)));
  size.height = std::max(1, static_cast<int>(std::floor(layout_height * scale)));
  return size;
}

void to_layout(const Viewport& v, double window_x, double window_y, std::int32_t* x,
               std::int32_t* y) {
  double to_px_x = v.window_width > 0 ? static_cast<double>(v.pixel_width) / v.window_width : 1.0;
  double to_px_y =
      v.window_height > 0 ? static_cast<double>(v.pixel_height) / v.window_height : 1.0;
  double px = window_x * to_px_x;
  double py = window_y * to_px_y;
  double s = std::min(static_cast<double>(v.pixel_width) / v.layout_width,
                      static_cast<double>(v.pixel_height) / v.layout_height);
  if (s <= 0.0) s = 1.0;
  double ox = (v.pixel_width - s * v.layout_width) / 2.0;
  double oy = (v.pixel_height - s * v.layout_height) / 2.0;
  double lx = (px - ox) / s;
  double ly = v.layout_height - (py - oy) / s;
  *x = static_cast<std::int32_t>(std::floor(lx));
  *y = static_cast<std::int32_t>(std::floor(ly));
}

int physical_button(std::uint32_t mouse_id, int button) {
  return mouse_id == kTouchMouseId ? kLeftButton : button;
}

void PointerInput::motion(double window_x, double window_y) {
  to_layout(viewport_, window_x, window_y, &x_, &y_);
}

bool PointerInput::button(int physical, bool down, double window_x, double window_y) {
  std::int32_t bit = physical == kLeftButton ? 1 : physical == kRightButton ? 2 : 0;
  if (bit == 0) return false;
  motion(window_x, window_y);
  std::int32_t before = look_buttons_;
  look_buttons_ = down ? (before | bit) : (before & ~bit);
  if (look_buttons_ == before) return false;
  if (bit == 1) return left(down);
  hand(down ? (buttons_ | 2) : (buttons_ & ~2));
  return true;
}

bool PointerInput::left(bool down) {
  using Kind = render::ButtonAction::Kind;
  if (down) {
    held_ = lookup_ ? lookup_(x_, y_) : render::ButtonAction{};
    if (held_.kind == Kind::Command) return true;  // the runtime keeps this press
    hand(buttons_ | (held_.kind == Kind::PressAs ? held_.state : 1));
    return true;
  }
  render::ButtonAction held = held_;
  if (held.kind == Kind::Command) {
    render::ButtonAction here = lookup_ ? lookup_(x_, y_) : render::ButtonAction{};
    if (here.kind == Kind::Command && here.command == held.command) command_ = held.command;
    held_ = {};
    return true;
  }
  hand(buttons_ & ~(held.kind == Kind::PressAs ? held.state : 1));
  held_ = {};
  return true;
}

void PointerInput::hand(std::int32_t buttons) {
  buttons_ = buttons;
  if (queue_.size() < kQueueLimit) queue_.push_back({program_x(), program_y(), buttons_});
}

void PointerInput::click(std::int32_t x, std::int32_t y, std::int32_t state) {
  if (queue_.size() + 2 > kQueueLimit) return;
  queue_.push_back({x, y, state});
  queue_.push_back({x, y, buttons_});
}

std::optional<Command> PointerInput::take_command() {
  std::optional<Command> command = command_;
  command_.reset();
  return command;
}

PointerState PointerInput::next() {
  if (queue_.empty()) return {program_x(), program_y(), buttons_};
  PointerState state = queue_.front();
  queue_.pop_front();
  return state;
}

}  // namespace kvr
