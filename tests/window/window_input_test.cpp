// Pointer handling of the window: positions in layout units whatever the
// window's size and pixel density, and button events handed out one state
// per poll so that no click is lost.
#include "window_input.h"

#include <gtest/gtest.h>

#include "keyboard.h"

namespace {

using kvr::PointerInput;
using kvr::PointerState;
using kvr::Viewport;

PointerState layout(const Viewport& v, double wx, double wy) {
  PointerState s;
  kvr::to_layout(v, wx, wy, &s.x, &s.y);
  return s;
}

TEST(ToLayout, FlipsYAndScalesWithTheWindow) {
  Viewport plain;  // 800 x 600 window, one pixel per point
  EXPECT_EQ(layout(plain, 0, 0).x, 0);
  EXPECT_EQ(layout(plain, 0, 0).y, 600);
  EXPECT_EQ(layout(plain, 775, 211).x, 775);
  EXPECT_EQ(layout(plain, 775, 211).y, 389);  // the plus arrow of stepper row 3
  Viewport large{1600, 1200, 1600, 1200, 800, 600};
  EXPECT_EQ(layout(large, 1550, 422).x, 775);
  EXPECT_EQ(layout(large, 1550, 422).y, 389);
}

TEST(ToLayout, HiDpiPointsMapLikePixels) {
  // A window of 800 x 600 points drawn on 1600 x 1200 pixels.
  Viewport hidpi{800, 600, 1600, 1200, 800, 600};
  PointerState s = layout(hidpi, 775, 211);
  EXPECT_EQ(s.x, 775);
  EXPECT_EQ(s.y, 389);
}

TEST(ToLayout, LetterboxIsOutsideTheLayout) {
  Viewport wide{1000, 600, 1000, 600, 800, 600};  // 100 px bars left and right
  EXPECT_EQ(layout(wide, 100, 300).x, 0);
  EXPECT_EQ(layout(wide, 900, 300).x, 800);
  EXPECT_LT(layout(wide, 50, 300).x, 0);
  Viewport tall{800, 800, 800, 800, 800, 600};  // 100 px bars above and below
  EXPECT_EQ(layout(tall, 10, 100).y, 600);
  EXPECT_EQ(layout(tall, 10, 700).y, 0);
  EXPECT_GT(layout(tall, 10, 50).y, 600);
}

TEST(FitWindow, KeepsTheAspectWithinNineTenthsOfTheScreen) {
  kvr::WindowSize s = kvr::fit_window(1920, 1080);
  EXPECT_EQ(s.height, 972);
  EXPECT_EQ(s.width, 1296);
  s = kvr::fit_window(1024, 768);
  EXPECT_EQ(s.width, 921);
  EXPECT_LE(s.height, 691);
  EXPECT_GE(s.height, 690);
  s = kvr::fit_window(800, 2000);  // portrait screen: width decides
  EXPECT_EQ(s.width, 720);
  EXPECT_EQ(s.height, 540);
}

TEST(PointerInput, AQuickClickIsAPressThenARelease) {
  PointerInput in;
  in.motion(100, 100);
  // Press and release arrive between two polls, as xdotool makes them.
  EXPECT_TRUE(in.button(kvr::kLeftButton, true, 775, 211));
  EXPECT_TRUE(in.button(kvr::kLeftButton, false, 775, 211));
  PointerState press = in.next();
  EXPECT_EQ(press.buttons, 1);
  EXPECT_EQ(press.x, 775);
  EXPECT_EQ(press.y, 389);
  EXPECT_EQ(in.next().buttons, 0);
  EXPECT_FALSE(in.pending());
  EXPECT_EQ(in.next().buttons, 0);  // idle after: the current state
}

TEST(PointerInput, RightIsTwoAndBothAreThree) {
  PointerInput in;
  in.button(kvr::kRightButton, true, 10, 10);
  in.button(kvr::kLeftButton, true, 10, 10);
  in.button(kvr::kRightButton, false, 10, 10);
  in.button(kvr::kLeftButton, false, 10, 10);
  EXPECT_EQ(in.next().buttons, 2);
  EXPECT_EQ(in.next().buttons, 3);
  EXPECT_EQ(in.next().buttons, 1);
  EXPECT_EQ(in.next().buttons, 0);
}

TEST(PointerInput, IgnoresTheMiddleButtonAndRepeatedEvents) {
  PointerInput in;
  EXPECT_FALSE(in.button(kvr::kMiddleButton, true, 10, 10));
  EXPECT_TRUE(in.button(kvr::kLeftButton, true, 10, 10));
  EXPECT_FALSE(in.button(kvr::kLeftButton, true, 10, 10));
  EXPECT_EQ(in.next().buttons, 1);
  EXPECT_FALSE(in.pending());
}

TEST(PointerInput, HeldButtonFollowsTheMotionButQueuedStatesKeepTheirPlace) {
  PointerInput in;
  in.button(kvr::kLeftButton, true, 100, 100);
  in.motion(300, 300);
  PointerState queued = in.next();
  EXPECT_EQ(queued.x, 100);
  PointerState now = in.next();
  EXPECT_EQ(now.x, 300);
  EXPECT_EQ(now.buttons, 1);  // still held
  EXPECT_EQ(in.look().x, 300);
  EXPECT_EQ(in.look().buttons, 1);
}

TEST(PointerInput, ClearForgetsQueuedClicksButNotTheHeldButton) {
  PointerInput in;
  in.button(kvr::kLeftButton, true, 10, 10);
  in.button(kvr::kLeftButton, false, 10, 10);
  in.button(kvr::kRightButton, true, 10, 10);
  in.clear();
  EXPECT_FALSE(in.pending());
  EXPECT_EQ(in.next().buttons, 2);
}

TEST(PointerInput, QueueIsBounded) {
  PointerInput in;
  for (std::size_t i = 0; i < PointerInput::kQueueLimit * 2; ++i)
    in.button(kvr::kLeftButton, i % 2 == 0, 10, 10);
  std::size_t handed = 0;
  while (in.pending()) {
    in.next();
    ++handed;
  }
  EXPECT_EQ(handed, PointerInput::kQueueLimit);
}

// A scene of three buttons as the lookup sees them: a command button at
// x 0..100, a press_as 2 button at x 100..200 that reports its press at
// (640, 579), one without a point at x 200..300; elsewhere the program's.
kvr::render::ButtonAction lookup(std::int32_t x, std::int32_t) {
  kvr::render::ButtonAction a;
  if (x < 100) {
    a.kind = kvr::render::ButtonAction::Kind::Command;
    a.command = kvr::Command::PinReference;
  } else if (x < 300) {
    a.kind = kvr::render::ButtonAction::Kind::PressAs;
    a.state = 2;
    a.at_point = x < 200;
    a.x = 640;
    a.y = 579;
  }
  return a;
}

TEST(OwnedButtons, ACommandClickNeverReachesTheProgram) {
  PointerInput in;
  in.set_button_lookup(lookup);
  EXPECT_TRUE(in.button(kvr::kLeftButton, true, 50, 300));
  EXPECT_EQ(in.look().buttons, 1);  // drawn pressed
  EXPECT_FALSE(in.pending());
  EXPECT_EQ(in.next().buttons, 0);  // the program sees no button while it is held
  EXPECT_FALSE(in.take_command());
  in.button(kvr::kLeftButton, false, 60, 300);
  EXPECT_FALSE(in.pending());
  EXPECT_EQ(in.take_command(), kvr::Command::PinReference);
  EXPECT_FALSE(in.take_command());  // once
  // Released off the button: nothing.
  in.button(kvr::kLeftButton, true, 50, 300);
  in.button(kvr::kLeftButton, false, 500, 300);
  EXPECT_FALSE(in.take_command());
  EXPECT_FALSE(in.pending());
}

TEST(OwnedButtons, PressAsHandsTheDeclaredStateAtItsPointThenTheRelease) {
  PointerInput in;
  in.set_button_lookup(lookup);
  in.button(kvr::kLeftButton, true, 150, 20);
  in.motion(170, 30);
  in.button(kvr::kLeftButton, false, 170, 30);
  PointerState press = in.next();
  EXPECT_EQ(press.buttons, 2);
  EXPECT_EQ(press.x, 640);
  EXPECT_EQ(press.y, 579);
  PointerState release = in.next();
  EXPECT_EQ(release.buttons, 0);
  EXPECT_EQ(release.x, 640);
  EXPECT_EQ(in.next().x, 170);  // afterwards the pointer is where it is
  // Without a point of its own the press is where the click is.
  in.button(kvr::kLeftButton, true, 250, 20);
  PointerState here = in.next();
  EXPECT_EQ(here.buttons, 2);
  EXPECT_EQ(here.x, 250);
  EXPECT_EQ(in.next().buttons, 2);  // held: still 2
  in.button(kvr::kLeftButton, false, 250, 20);
  EXPECT_EQ(in.next().buttons, 0);
}

TEST(OwnedButtons, TheRightButtonIsAlwaysTheProgramsAndAMissingLookupMeansPlainClicks) {
  PointerInput in;
  in.set_button_lookup(lookup);
  in.button(kvr::kRightButton, true, 50, 300);
  EXPECT_EQ(in.next().buttons, 2);
  in.button(kvr::kRightButton, false, 50, 300);
  EXPECT_EQ(in.next().buttons, 0);
  PointerInput plain;
  plain.button(kvr::kLeftButton, true, 50, 300);
  EXPECT_EQ(plain.next().buttons, 1);
}

TEST(OwnedButtons, TheKeyboardsClickIsAPressAndARelease) {
  PointerInput in;
  in.motion(10, 10);
  in.click(621, 509, 1);
  PointerState press = in.next();
  EXPECT_EQ(press.x, 621);
  EXPECT_EQ(press.y, 509);
  EXPECT_EQ(press.buttons, 1);
  PointerState release = in.next();
  EXPECT_EQ(release.x, 621);
  EXPECT_EQ(release.buttons, 0);
  EXPECT_FALSE(in.pending());
}

TEST(Touch, ATapIsTheLeftButtonWhateverItsNumber) {
  EXPECT_EQ(kvr::physical_button(kvr::kTouchMouseId, kvr::kLeftButton), kvr::kLeftButton);
  EXPECT_EQ(kvr::physical_button(kvr::kTouchMouseId, kvr::kRightButton), kvr::kLeftButton);
  EXPECT_EQ(kvr::physical_button(0, kvr::kRightButton), kvr::kRightButton);
  PointerInput in;
  in.button(kvr::physical_button(kvr::kTouchMouseId, 0), true, 775, 211);
  EXPECT_EQ(in.next().buttons, 1);
}

TEST(Keys, WhatEachKeyDoes) {
  using Kind = kvr::KeyAction::Kind;
  using kvr::Key;
  auto is = [](kvr::KeyAction a, Kind kind) { return a.kind == kind; };
  auto command = [](kvr::KeyAction a) { return a.command; };
  EXPECT_TRUE(is(kvr::key_action(Key::Escape, false, false), Kind::EndRun));
  EXPECT_TRUE(is(kvr::key_action(Key::F11, false, false), Kind::Fullscreen));
  EXPECT_TRUE(is(kvr::key_action(Key::F12, true, false), Kind::Screenshot));
  EXPECT_EQ(command(kvr::key_action(Key::F5, false, false)), kvr::Command::PinReference);
  EXPECT_EQ(command(kvr::key_action(Key::F5, true, false)), kvr::Command::ClearReference);
  EXPECT_EQ(command(kvr::key_action(Key::F7, false, false)), kvr::Command::TogglePalette);
  EXPECT_EQ(command(kvr::key_action(Key::F10, false, false)), kvr::Command::WriteReport);
  EXPECT_EQ(command(kvr::key_action(Key::Tab, false, false)), kvr::Command::FocusNext);
  EXPECT_EQ(command(kvr::key_action(Key::Tab, true, true)), kvr::Command::FocusPrevious);
  EXPECT_TRUE(is(kvr::key_action(Key::Enter, false, false), Kind::Activate));
  EXPECT_TRUE(is(kvr::key_action(Key::Space, false, false), Kind::Activate));
  // A held key repeats only Tab: no burst of clicks, pins or reports.
  EXPECT_TRUE(is(kvr::key_action(Key::Enter, false, true), Kind::None));
  EXPECT_TRUE(is(kvr::key_action(Key::F10, false, true), Kind::None));
  EXPECT_TRUE(is(kvr::key_action(Key::F7, false, true), Kind::None));
  EXPECT_TRUE(is(kvr::key_action(Key::Other, false, false), Kind::None));
}

}  // namespace
