// The pointer state polled from the scene runtime and the three hit tests on
// it. The tests only read the state; only wait_for_release polls.
#ifndef MAISON_INPUT_POINTER_H
#define MAISON_INPUT_POINTER_H

#include <cstdint>

namespace maison {

inline std::int32_t pointer_x;
inline std::int32_t pointer_y;
inline std::int32_t pointer_buttons;  // 0 none; 1 and 2 the two buttons; other values match no test

// A screen rectangle, bounds compared as signed integers after widening to 32 bits.
struct HitRegion {
  std::int16_t x1;
  std::int16_t y1;
  std::int16_t x2;
  std::int16_t y2;
};

// Fills the pointer state from the runtime.
void poll_pointer();

// Polls until no button is down. Returns at once if none is.
void wait_for_release();

// 1 when button 1 is down strictly inside the rectangle; the press is then
// waited out before returning. Otherwise 0, without waiting.
std::uint8_t click_in(std::int16_t x1, std::int16_t y1, std::int16_t x2, std::int16_t y2);

// 1 when button 1 is down strictly inside the rectangle, without waiting.
std::uint8_t press_in(std::int16_t x1, std::int16_t y1, std::int16_t x2, std::int16_t y2);

// 1 when button 2 is down outside the closed rectangle (its border counts as inside).
std::uint8_t second_press_outside(std::int16_t x1, std::int16_t y1, std::int16_t x2,
                                  std::int16_t y2);

inline std::uint8_t click_in(const HitRegion& r) {
  return click_in(r.x1, r.y1, r.x2, r.y2);
}
inline std::uint8_t press_in(const HitRegion& r) {
  return press_in(r.x1, r.y1, r.x2, r.y2);
}
inline std::uint8_t second_press_outside(const HitRegion& r) {
  return second_press_outside(r.x1, r.y1, r.x2, r.y2);
}

}  // namespace maison

#endif
