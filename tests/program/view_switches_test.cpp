// The result view switches and the coupling of the surface temperature view
// with the camera view over successive frames.
#include "feedback/view_switches.h"

#include "input/modal_views.h"
#include "program_test.h"
#include "startup/frame_loop.h"
#include "startup/scene_variables.h"

namespace maison::testing {
namespace {

using ViewSwitchTest = RunningProgramTest;

// Shown state of TALRESK, TALRESD, TALRESW, TALRESAN, TALTAB, TALCAM, TALREST, TLTOISOL.
std::string views() {
  std::string shown;
  for (const DisplaySwitch* view :
       {&TALRESK, &TALRESD, &TALRESW, &TALRESAN, &TALTAB, &TALCAM, &TALREST, &TLTOISOL}) {
    shown += view->shown == 1.0f ? '1' : '0';
  }
  return shown;
}

TEST_F(ViewSwitchTest, ToggleCombinations) {
  const struct {
    std::int16_t k, d, w, an, camera;
    const char* expected;
  } cases[] = {
      {0, 0, 0, 0, 0, "00000001"}, {0, 0, 0, 1, 0, "00010001"}, {0, 1, 0, 0, 0, "01001001"},
      {1, 0, 0, 0, 0, "10001001"}, {0, 0, 1, 0, 0, "00101001"}, {0, 0, 0, 0, 1, "00000100"},
      {1, 1, 1, 1, 1, "11111100"},
  };
  for (const auto& c : cases) {
    resk_toggle = c.k;
    resd_toggle = c.d;
    resw_toggle = c.w;
    resan_toggle = c.an;
    camera_toggle = c.camera;
    update_view_switches();
    EXPECT_EQ(views(), c.expected);
  }
}

TEST_F(ViewSwitchTest, SurfaceTemperatureViewDrivesTheCameraAFrameAhead) {
  run_frame();
  rest_toggle = 1;
  run_frame();
  EXPECT_EQ(views(), "00000010");  // TALCAM still hidden
  EXPECT_EQ(camera_toggle, 1);
  EXPECT_EQ(colvis4, 4);
  run_frame();
  EXPECT_EQ(views(), "00000110");
  EXPECT_EQ(kvr_double::actions_without_home(), (std::vector<std::string>{"NORMAL", "CAMERA"}));

  camera_toggle = 0;  // switched off by the user: forced on again
  run_frame();
  EXPECT_EQ(camera_toggle, 1);

  rest_toggle = 0;
  run_frame();
  EXPECT_EQ(views(), "00000101");  // TALCAM still shown
  EXPECT_EQ(camera_toggle, 0);
  EXPECT_EQ(colvis4, 3);
  run_frame();
  EXPECT_EQ(views(), "00000001");
  camera_toggle = 1;  // free again once the view is off
  run_frame();
  EXPECT_EQ(views(), "00000100");
}

}  // namespace
}  // namespace maison::testing
