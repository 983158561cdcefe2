#include "input/pointer.h"

#include "kvrrun.h"

namespace maison {
namespace {

bool strictly_inside(std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2) {
  return x1 < pointer_x && pointer_x < x2 && y1 < pointer_y && pointer_y < y2;
}

}  // namespace

void poll_pointer() {
  KvMouse(-1, &pointer_x, &pointer_y, &pointer_buttons);
}

void wait_for_release() {
  while (pointer_buttons != 0) poll_pointer();
}

std::uint8_t click_in(std::int16_t x1, std::int16_t y1, std::int16_t x2, std::int16_t y2) {
  if (pointer_buttons == 1 && strictly_inside(x1, y1, x2, y2)) {
    wait_for_release();
    return 1;
  }
  return 0;
}

std::uint8_t press_in(std::int16_t x1, std::int16_t y1, std::int16_t x2, std::int16_t y2) {
  return pointer_buttons == 1 && strictly_inside(x1, y1, x2, y2) ? 1 : 0;
}

std::uint8_t second_press_outside(std::int16_t x1, std::int16_t y1, std::int16_t x2,
                                  std::int16_t y2) {
  const bool outside = pointer_x < x1 || pointer_x > x2 || pointer_y < y1 || pointer_y > y2;
  return pointer_buttons == 2 && outside ? 1 : 0;
}

}  // namespace maison
