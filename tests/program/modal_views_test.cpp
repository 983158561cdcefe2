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

using ModalViewTest = RunningProgramTest;

TEST_F(ModalViewTest, IntroChoicePlaysTheActionUnderTheFirstPress) {
  const struct {
    int x, y, buttons;
    const char* chosen;
  } cases[] = {
      {100, 580, 1, "USE"},   {200, 580, 1, "FONC"},  {400, 580, 1, "REM"},
      {140, 580, 1, "BANDO"}, {100, 568, 1, "BANDO"}, {330, 580, 1, "BANDO"},
      {300, 580, 2, "BANDO"}, {25, 590, 2, "BANDO"},  {300, 591, 2, "DECOR"},
      {24, 580, 2, "DECOR"},  {631, 580, 2, "DECOR"}, {100, 580, 3, "BANDO"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.x << "," << c.y << " state " << c.buttons);
    kvr_double::reset();
    intro_clicked = 1;
    kvr_double::queue_pointer(0, 0, 0, 3);  // idle polls before the choice
    kvr_double::queue_pointer(c.x, c.y, c.buttons, 3);
    kvr_double::queue_pointer(c.x, c.y, 0);
    run_modal_views();
    EXPECT_EQ(kvr_double::actions(), (Texts{"BANDO", c.chosen, "DECDROIT"}));
    EXPECT_EQ(kvr_double::pending_pointer_states(), 0u);  // the press was waited out
  }
}

TEST_F(ModalViewTest, IntroButtonClickRunsTheChoiceInsideTheFrame) {
  kvr_double::queue_click(670, 579);
  kvr_double::queue_click(100, 580);
  run_frame();
  EXPECT_EQ(kvr_double::actions(), (Texts{"BANDO", "USE", "DECDROIT", "NORMAL", "HOME", "HOME"}));
}

TEST_F(ModalViewTest, ResultsViewSetsTogglesUntilASecondButtonPress) {
  results_view_pressed = 1;
  pointer_buttons = 1;
  kvr_double::queue_pointer(100, 100, 2);
  run_modal_views();
  EXPECT_EQ(kvr_double::actions(), Texts(2, "MENUVISU"));
  EXPECT_EQ(camera_toggle, 0);

  kvr_double::reset();
  pointer_buttons = 1;
  kvr_double::queue_pointer(587, 345, 1);  // row 5 on
  kvr_double::queue_pointer(560, 465, 1);  // between the boxes of row 1
  kvr_double::queue_pointer(536, 315, 1);  // row 6 off
  kvr_double::queue_pointer(587, 465, 2);
  run_modal_views();
  EXPECT_EQ(kvr_double::actions(), Texts(5, "MENUVISU"));
  EXPECT_EQ((std::vector<int>{resk_toggle, camera_toggle, rest_toggle}),
            (std::vector<int>{0, 1, 0}));
  EXPECT_EQ((std::vector<int>{colvis0, colvis4, colvis5, colvis6}), (std::vector<int>{3, 4, 3, 3}));
}

TEST_F(ModalViewTest, ResultsViewTogglesReachTheScreenInTheSameFrame) {
  kvr_double::queue_pointer(680, 40, 1);
  kvr_double::queue_pointer(587, 405, 1);  // row 3 on
  kvr_double::queue_pointer(587, 405, 2);
  run_frame();
  EXPECT_EQ(resw_toggle, 1);
  EXPECT_EQ(colvis2, 4);
  EXPECT_EQ(TALRESW.shown, 1.0f);
  EXPECT_EQ(TALTAB.shown, 1.0f);
}

TEST_F(ModalViewTest, MenuButtonOpensItsPanelAloneAndBlanksTheTexts) {
  open_panel(Panel::windows);
  open_panel(Panel::floor);
  EXPECT_EQ(TALPLAN.shown + TALFEN.shown + TALMUR.shown, 1.0f);
  EXPECT_EQ(active_panel[index_of(Panel::floor)] + active_panel[index_of(Panel::windows)], 1);
  EXPECT_EQ(texts({&A1, &A5, &A6}), (Texts{"beton plein", " ", " "}));

  open_panel(Panel::walls);
  kvr_double::reset();
  std::string at_slide;
  kvr_double::set_observer([&](std::string_view call) {
    if (call == "KvExec(DECDROIT)") at_slide = text(A1) + "|" + text(A6);
  });
  open_panel(Panel::walls);  // the open panel again: blanked and slid in again
  EXPECT_EQ(at_slide, " | ");
  EXPECT_EQ(text(A1), "brique pleine");
  EXPECT_EQ(kvr_double::actions(), (Texts{"DECDROIT", "HOME", "HOME"}));
}

TEST_F(ModalViewTest, ThousandsDigitZeroRequestsTheEndButTheFrameRunsOn) {
  decode_launch_code(999);
  run_frame();
  EXPECT_EQ(quit_requested, 1);
  EXPECT_EQ(kvr_double::actions(), (Texts{"NORMAL", "HOME", "HOME"}));
  EXPECT_EQ(text(KLASS), "F");
}

}  // namespace
}  // namespace maison::testing
