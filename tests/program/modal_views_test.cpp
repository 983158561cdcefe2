// Navigation: the intro choice and the results-view menu through replayed
// pointer states, panel selection, and the launch-code quit test.
#include "input/modal_views.h"

#include "input/control_layout.h"
#include "input/pointer.h"
#include "program_test.h"
#include "startup/frame_loop.h"
#include "startup/launch_code.h"
#include "startup/scene_variables.h"

namespace maison::testing {
namespace {

using Actions = std::vector<std::string>;
using ModalViewTest = RunningProgramTest;

struct IntroCase {
  int x, y, buttons;
  const char* chosen;
};

TEST_F(ModalViewTest, IntroChoicePlaysTheActionUnderTheFirstPress) {
  const IntroCase cases[] = {
      {100, 580, 1, "USE"},   {200, 580, 1, "FONC"},  {400, 580, 1, "REM"},
      {140, 580, 1, "BANDO"}, {100, 568, 1, "BANDO"}, {330, 580, 1, "BANDO"},
      {300, 580, 2, "BANDO"}, {25, 590, 2, "BANDO"},  {300, 591, 2, "DECOR"},
      {24, 580, 2, "DECOR"},  {631, 580, 2, "DECOR"}, {100, 580, 3, "BANDO"},
  };
  for (const IntroCase& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.x << "," << c.y << " state " << c.buttons);
    kvr_double::reset();
    intro_clicked = 1;
    pointer_buttons = 0;
    kvr_double::queue_pointer(0, 0, 0, 3);  // idle polls before the choice
    kvr_double::queue_pointer(c.x, c.y, c.buttons);
    kvr_double::queue_pointer(c.x, c.y, c.buttons, 2);  // held
    kvr_double::queue_pointer(c.x, c.y, 0);
    run_modal_views();
    EXPECT_EQ(kvr_double::actions(), (Actions{"BANDO", c.chosen, "DECDROIT"}));
    EXPECT_EQ(pointer_buttons, 0);
    EXPECT_EQ(kvr_double::pending_pointer_states(), 0u);
  }
}

TEST_F(ModalViewTest, IntroButtonClickRunsTheChoiceInsideTheFrame) {
  kvr_double::queue_click(670, 579);
  kvr_double::queue_click(100, 580);
  run_frame();
  EXPECT_EQ(kvr_double::actions(), (Actions{"BANDO", "USE", "DECDROIT", "NORMAL", "HOME", "HOME"}));
}

TEST_F(ModalViewTest, ResultsViewEndingAtOnceChangesNothing) {
  results_view_pressed = 1;
  pointer_buttons = 1;
  kvr_double::queue_pointer(100, 100, 2);
  run_modal_views();
  EXPECT_EQ(kvr_double::actions(), (Actions{"MENUVISU", "MENUVISU"}));
  EXPECT_EQ(camera_toggle, 0);
  EXPECT_EQ(colvis4, 3);
  EXPECT_EQ(pointer_buttons, 2);
}

struct ViewBoxCase {
  int y;
  std::int16_t* toggle;
  std::int32_t* indicator;
};

TEST_F(ModalViewTest, ResultsViewBoxesSwitchTheirRowOffAndOn) {
  const ViewBoxCase rows[] = {
      {465, &resk_toggle, &colvis0},   {435, &resd_toggle, &colvis1},
      {405, &resw_toggle, &colvis2},   {375, &resan_toggle, &colvis3},
      {345, &camera_toggle, &colvis4}, {315, &rest_toggle, &colvis5},
  };
  for (const ViewBoxCase& row : rows) {
    SCOPED_TRACE(row.y);
    kvr_double::reset();
    results_view_pressed = 1;
    pointer_buttons = 1;
    kvr_double::queue_pointer(587, row.y, 1);  // on
    kvr_double::queue_pointer(560, row.y, 1);  // between the boxes
    kvr_double::queue_pointer(0, 0, 0);
    kvr_double::queue_pointer(0, 0, 2);
    run_modal_views();
    EXPECT_EQ(*row.toggle, 1);
    EXPECT_EQ(*row.indicator, 4);
    EXPECT_EQ(kvr_double::actions(), Actions(5, "MENUVISU"));

    pointer_buttons = 1;
    kvr_double::queue_pointer(536, row.y, 1);  // off
    kvr_double::queue_pointer(0, 0, 2);
    run_modal_views();
    EXPECT_EQ(*row.toggle, 0);
    EXPECT_EQ(*row.indicator, 3);
  }
  EXPECT_EQ(colvis6, 3);
}

TEST_F(ModalViewTest, ResultsViewTogglesReachTheScreenInTheSameFrame) {
  kvr_double::queue_pointer(680, 40, 1);
  kvr_double::queue_pointer(587, 465, 1);
  kvr_double::queue_pointer(587, 465, 2);
  run_frame();
  EXPECT_EQ(TALRESK.shown, 1.0f);
  EXPECT_EQ(TALTAB.shown, 1.0f);
}

TEST_F(ModalViewTest, EachMenuButtonOpensItsPanelAlone) {
  const std::pair<Panel, DisplaySwitch*> panels[] = {
      {Panel::walls, &TALMUR},        {Panel::floor, &TALPLAN},   {Panel::ceiling, &TALPLAF},
      {Panel::crawlspace, &TALSSOL},  {Panel::windows, &TALFEN},  {Panel::ventilation, &TALVMC},
      {Panel::temperature, &TALTEMP}, {Panel::location, &TALLOC},
  };
  for (const auto& [panel, view] : panels) {
    SCOPED_TRACE(index_of(panel));
    kvr_double::reset();
    open_panel(panel);
    for (const auto& [other, other_view] : panels) {
      EXPECT_EQ(active_panel[index_of(other)], other == panel ? 1 : 0);
      EXPECT_EQ(other_view->shown, other == panel ? 1.0f : 0.0f);
      EXPECT_EQ(other_view->second, 1.0f);
    }
    EXPECT_EQ(kvr_double::actions_without_home().front(), "DECDROIT");
  }
}

TEST_F(ModalViewTest, ReopeningAPanelBlanksItsTextsAndSlidesItInAgain) {
  open_panel(Panel::floor);
  EXPECT_EQ(text(A1), "beton plein");
  EXPECT_EQ(std::string(A5.characters, 2), std::string(" \0", 2));
  EXPECT_EQ(text(A6), " ");

  open_panel(Panel::walls);
  kvr_double::reset();
  std::string texts_at_slide;
  kvr_double::set_observer([&](std::string_view call) {
    if (call == "KvExec(DECDROIT)") texts_at_slide = text(A1) + "|" + text(A6);
  });
  open_panel(Panel::walls);
  EXPECT_EQ(texts_at_slide, " | ");
  EXPECT_EQ(text(A1), "brique pleine");
  EXPECT_EQ(kvr_double::actions(), (Actions{"DECDROIT", "HOME", "HOME"}));
}

TEST_F(ModalViewTest, NinthMenuCellOpensNothing) {
  click_frame(451, 57);
  for (auto flag : active_panel) EXPECT_EQ(flag, 0);
  EXPECT_EQ(kvr_double::actions(), (Actions{"NORMAL", "HOME", "HOME"}));
}

TEST_F(ModalViewTest, ThousandsDigitZeroRequestsTheEndButTheFrameRunsOn) {
  decode_launch_code(999);
  run_frame();
  EXPECT_EQ(quit_requested, 1);
  EXPECT_EQ(kvr_double::actions(), (Actions{"NORMAL", "HOME", "HOME"}));
  EXPECT_EQ(text(KLASS), "F");
}

}  // namespace
}  // namespace maison::testing
