// The page's touch gestures (runtime/browser/touch_gestures.h): what a tap,
// a long press and a drag do to the pointer.
#include "touch_gestures.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kvr {
namespace {

// Every move and button of the pointer, as text: "move 10,20", "1 down 10,20".
struct Pointer {
  std::vector<std::string> seen;
  TouchGestures gestures{
      [this](double x, double y) { seen.push_back("move " + at(x, y)); },
      [this](int button, bool down, double x, double y) {
        seen.push_back(std::to_string(button) + (down ? " down " : " up ") + at(x, y));
      }};
  static std::string at(double x, double y) {
    return std::to_string(static_cast<int>(x)) + "," + std::to_string(static_cast<int>(y));
  }
};

using Seen = std::vector<std::string>;

TEST(TouchGestures, TapClicksTheLeftButtonWhereTheFingerTouched) {
  Pointer p;
  p.gestures.down(7, 100, 200, 1.0);
  p.gestures.move(7, 104, 197);  // a finger is never quite still
  p.gestures.tick(1.2);
  p.gestures.up(7, 104, 197);
  EXPECT_EQ(p.seen, (Seen{"move 100,200", "1 down 100,200", "1 up 100,200"}));
  // Nothing is left waiting: a later tick does nothing.
  EXPECT_LT(p.gestures.deadline(), 0.0);
  p.gestures.tick(5.0);
  EXPECT_EQ(p.seen.size(), 3u);
}

TEST(TouchGestures, LongPressIsARightClickPressedWhenHeldAndReleasedWhenLifted) {
  Pointer p;
  p.gestures.down(1, 50, 60, 10.0);
  EXPECT_DOUBLE_EQ(p.gestures.deadline(), 10.0 + TouchGestures::kLongPress);
  p.gestures.tick(10.0 + TouchGestures::kLongPress - 0.01);
  EXPECT_EQ(p.seen, (Seen{"move 50,60"}));
  p.gestures.tick(10.0 + TouchGestures::kLongPress);
  EXPECT_EQ(p.seen, (Seen{"move 50,60", "3 down 50,60"}));
  EXPECT_LT(p.gestures.deadline(), 0.0);
  p.gestures.move(1, 80, 90);
  p.gestures.up(1, 80, 90);
  EXPECT_EQ(p.seen, (Seen{"move 50,60", "3 down 50,60", "move 80,90", "3 up 80,90"}));
}

TEST(TouchGestures, MovingBeforeTheLongPressDragsWithTheLeftButton) {
  Pointer p;
  p.gestures.down(2, 10, 10, 0.0);
  p.gestures.move(2, 10, 10 + TouchGestures::kSlop + 1);
  p.gestures.move(2, 40, 40);
  p.gestures.tick(3.0);  // too late for a long press: the finger moved
  p.gestures.up(2, 45, 42);
  EXPECT_EQ(p.seen, (Seen{"move 10,10", "1 down 10,10", "move 10,21", "move 40,40", "1 up 45,42"}));
}

TEST(TouchGestures, OtherFingersAreIgnoredUntilTheFirstLifts) {
  Pointer p;
  p.gestures.down(1, 10, 10, 0.0);
  p.gestures.down(2, 300, 300, 0.1);
  p.gestures.move(2, 400, 400);
  p.gestures.up(2, 400, 400);
  p.gestures.up(1, 10, 10);
  p.gestures.down(2, 300, 300, 1.0);
  p.gestures.up(2, 300, 300);
  EXPECT_EQ(p.seen, (Seen{"move 10,10", "1 down 10,10", "1 up 10,10", "move 300,300",
                          "1 down 300,300", "1 up 300,300"}));
}

}  // namespace
}  // namespace kvr
