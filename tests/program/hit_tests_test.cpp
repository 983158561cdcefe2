// Pointer polling and the 25 hit tests: strict bounds, button states, the
// wait for release and at most one control per frame.
#include "input/control_layout.h"
#include "input/pointer.h"
#include "program_test.h"
#include "startup/frame_loop.h"
#include "startup/launch_code.h"
#include "startup/scene_variables.h"

namespace maison::testing {
namespace {

// Flags in one list: intro, results view, 8 panels, 6 minus, 6 plus, quit.
std::vector<int> flags() {
  std::vector<int> all{intro_clicked, results_view_pressed};
  for (auto flag : panel_button_clicked) all.push_back(flag);
  for (auto flag : minus_clicked) all.push_back(flag);
  for (auto flag : plus_clicked) all.push_back(flag);
  all.push_back(quit_requested);
  return all;
}

std::vector<int> only(int index) {
  std::vector<int> expected(23, 0);
  if (index >= 0) expected[static_cast<std::size_t>(index)] = 1;
  return expected;
}

// Polls one state (then a release, for clicks to wait out) and reads the controls.
void read_at(int x, int y, int buttons) {
  kvr_double::reset();
  quit_requested = 0;
  kvr_double::queue_pointer(x, y, buttons);
  kvr_double::queue_pointer(x, y, 0);
  read_controls();
}

struct Control {
  int x1, y1, x2, y2;
  int flag;  // index in flags(), -1 for the inert buttons
  bool waits;
};

constexpr int none = -1;
constexpr Control layout[] = {
    {658, 568, 682, 590, 0, true},  {739, 568, 763, 590, none, true},
    {658, 20, 712, 65, 1, false},   {180, 78, 282, 106, 2, true},
    {180, 43, 282, 71, 3, true},    {180, 8, 282, 35, 4, true},
    {290, 78, 392, 106, 5, true},   {290, 43, 392, 71, 6, true},
    {290, 8, 392, 35, 7, true},     {400, 78, 502, 106, 8, true},
    {400, 43, 502, 71, none, true}, {400, 8, 502, 35, 9, true},
    {610, 498, 633, 520, 10, true}, {610, 438, 633, 460, 11, true},
    {610, 378, 633, 400, 12, true}, {610, 318, 633, 340, 13, true},
    {610, 258, 633, 280, 14, true}, {610, 198, 633, 220, 15, true},
    {764, 498, 787, 520, 16, true}, {764, 438, 787, 460, 17, true},
    {764, 378, 787, 400, 18, true}, {764, 318, 787, 340, 19, true},
    {764, 258, 787, 280, 20, true}, {764, 198, 787, 220, 21, true},
    {766, 568, 790, 590, 22, true},
};

TEST(HitTest, EachControlFiresStrictlyInsideItsRectangleAndNowhereOnItsBorder) {
  for (const Control& c : layout) {
    SCOPED_TRACE(::testing::Message() << "rectangle " << c.x1 << "," << c.y1);
    const int xc = (c.x1 + c.x2) / 2;
    const int yc = (c.y1 + c.y2) / 2;
    for (auto [x, y] : {std::pair{c.x1 + 1, c.y1 + 1}, std::pair{c.x2 - 1, c.y2 - 1}}) {
      read_at(x, y, 1);
      EXPECT_EQ(flags(), only(c.flag));
      EXPECT_EQ(kvr_double::mouse_calls(), c.waits ? 2 : 1);
    }
    for (auto [x, y] :
         {std::pair{c.x1, yc}, std::pair{c.x2, yc}, std::pair{xc, c.y1}, std::pair{xc, c.y2}}) {
      read_at(x, y, 1);
      EXPECT_EQ(flags(), only(none)) << "border " << x << "," << y;
      EXPECT_EQ(kvr_double::mouse_calls(), 1);
    }
    for (int buttons : {2, 3}) {
      read_at(xc, yc, buttons);
      EXPECT_EQ(flags(), only(none));
      EXPECT_EQ(kvr_double::mouse_calls(), 1);
    }
  }
}

TEST(HitTest, ClickCountsWhereThePressStartedAndWaitsForItsRelease) {
  kvr_double::reset();
  kvr_double::queue_pointer(621, 509, 1);
  kvr_double::queue_pointer(700, 100, 1, 3);  // dragged away while held
  kvr_double::queue_pointer(50, 60, 0);
  read_controls();
  EXPECT_EQ(flags(), only(10));
  EXPECT_EQ(kvr_double::mouse_calls(), 5);
  EXPECT_EQ(pointer_buttons, 0);
  EXPECT_EQ(pointer_x, 50);
  EXPECT_EQ(pointer_y, 60);
}

TEST(HitTest, ResultsViewPressIsNotWaitedOut) {
  kvr_double::reset();
  kvr_double::queue_pointer(680, 40, 1);
  read_controls();
  EXPECT_EQ(flags(), only(1));
  EXPECT_EQ(pointer_buttons, 1);
  EXPECT_EQ(kvr_double::mouse_calls(), 1);
}

TEST(HitTest, HeldPressFiresOnTheFirstFrameThatFindsItOnAControl) {
  kvr_double::reset();
  kvr_double::queue_pointer(300, 300, 1);
  read_controls();
  EXPECT_EQ(flags(), only(none));
  kvr_double::queue_pointer(775, 209, 1);
  kvr_double::queue_pointer(775, 209, 0);
  read_controls();
  EXPECT_EQ(flags(), only(21));
}

TEST(HitTest, QuitStaysRequestedAfterLaterFrames) {
  read_at(778, 579, 1);
  EXPECT_EQ(quit_requested, 1);
  kvr_double::queue_pointer(100, 100, 0);
  read_controls();
  EXPECT_EQ(quit_requested, 1);
}

TEST(HitTest, SecondPressOutsideCountsTheBorderAsInside) {
  pointer_buttons = 2;
  for (auto [x, y, expected] : {std::tuple{25, 590, 0},
                                {630, 568, 0},
                                {300, 580, 0},
                                {24, 580, 1},
                                {631, 580, 1},
                                {300, 591, 1},
                                {300, 567, 1}}) {
    pointer_x = x;
    pointer_y = y;
    EXPECT_EQ(second_press_outside(25, 568, 630, 590), expected) << x << "," << y;
  }
  pointer_buttons = 1;
  pointer_x = 0;
  EXPECT_EQ(second_press_outside(25, 568, 630, 590), 0);
}

using HitFrameTest = RunningProgramTest;

TEST_F(HitFrameTest, HeldMenuButtonHoldsTheFrameAndOpensThePanelAfterRelease) {
  kvr_double::queue_pointer(231, 92, 1, 5);
  kvr_double::queue_pointer(231, 92, 0);
  run_frame();
  EXPECT_EQ(kvr_double::mouse_calls(), 6);
  EXPECT_EQ(TALMUR.shown, 1.0f);
  const auto played = kvr_double::actions();
  EXPECT_EQ(played.front(), "DECDROIT");
}

}  // namespace
}  // namespace maison::testing
