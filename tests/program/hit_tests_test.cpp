// Pointer polling and the hit tests: strict bounds, button states, the wait
// for release and at most one control per frame.
#include "input/control_layout.h"
#include "input/pointer.h"
#include "program_test.h"
#include "startup/launch_code.h"

namespace maison::testing {
namespace {

// Every flag as a string: intro, results view, 8 panels, 6 minus, 6 plus, quit.
std::string flags() {
  std::vector<std::uint8_t> all{intro_clicked, results_view_pressed};
  all.insert(all.end(), std::begin(panel_button_clicked), std::end(panel_button_clicked));
  all.insert(all.end(), std::begin(minus_clicked), std::end(minus_clicked));
  all.insert(all.end(), std::begin(plus_clicked), std::end(plus_clicked));
  all.push_back(quit_requested);
  std::string shown;
  for (std::uint8_t flag : all) shown.push_back(static_cast<char>('0' + flag));
  return shown;
}

const std::string no_flag(23, '0');
std::string only(std::size_t index) {
  std::string shown = no_flag;
  shown[index] = '1';
  return shown;
}

// Reads the controls from one polled state, followed by a release.
std::string read_at(int x, int y, int buttons) {
  kvr_double::reset();
  quit_requested = 0;
  kvr_double::queue_pointer(x, y, buttons);
  kvr_double::queue_pointer(x, y, 0);
  read_controls();
  return flags();
}

using HitTest = ProgramTest;

TEST_F(HitTest, BoundsAreStrictAndOnlyButtonOneClicks) {
  EXPECT_EQ(read_at(611, 499, 1), only(10));  // stepper row 1 minus
  EXPECT_EQ(read_at(632, 519, 1), only(10));
  for (auto [x, y] : {std::pair{610, 509}, {633, 509}, {621, 498}, {621, 520}}) {
    EXPECT_EQ(read_at(x, y, 1), no_flag) << x << "," << y;
  }
  EXPECT_EQ(read_at(621, 509, 2), no_flag);
  EXPECT_EQ(read_at(621, 509, 3), no_flag);
  EXPECT_EQ(kvr_double::mouse_calls(), 1);  // nothing to wait out
  EXPECT_EQ(read_at(451, 57, 1), no_flag);  // the inert ninth cell...
  EXPECT_EQ(kvr_double::mouse_calls(), 2);  // ...still waits for the release
  EXPECT_EQ(read_at(751, 579, 1), no_flag);
  EXPECT_EQ(read_at(451, 21, 1), only(9));    // Location
  EXPECT_EQ(read_at(775, 209, 1), only(21));  // stepper row 6 plus
}

TEST_F(HitTest, ClickCountsWhereThePressStartedAndWaitsForItsRelease) {
  kvr_double::queue_pointer(621, 509, 1);
  kvr_double::queue_pointer(700, 100, 1, 3);  // dragged away while held
  kvr_double::queue_pointer(50, 60, 0);
  read_controls();
  EXPECT_EQ(flags(), only(10));
  EXPECT_EQ(kvr_double::mouse_calls(), 5);
  EXPECT_EQ((std::vector<int>{pointer_x, pointer_y, pointer_buttons}),
            (std::vector<int>{50, 60, 0}));
}

TEST_F(HitTest, ResultsViewPressIsNotWaitedOutAndQuitIsNeverCleared) {
  EXPECT_EQ(read_at(680, 40, 1), only(1));
  EXPECT_EQ(pointer_buttons, 1);
  EXPECT_EQ(kvr_double::mouse_calls(), 1);
  EXPECT_EQ(read_at(778, 579, 1), only(22));
  read_controls();  // an idle frame
  EXPECT_EQ(quit_requested, 1);
}

}  // namespace
}  // namespace maison::testing
