// The result view switches, and the surface temperature view driving the
// camera view over successive frames.
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

TEST_F(ViewSwitchTest, TableShowsForTheFirstThreeViewsOnly) {
  const struct {
    std::int16_t k, d, w, an, camera;
    const char* expected;
  } cases[] = {{0, 0, 0, 0, 0, "00000001"},
               {0, 0, 0, 1, 0, "00010001"},
               {0, 1, 0, 0, 0, "01001001"},
               {0, 0, 1, 0, 1, "00101100"}};
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
  EXPECT_EQ(views(), "00000010");  // TALCAM follows a frame later
  EXPECT_EQ(colvis4, 4);
  run_frame();
  EXPECT_EQ(views(), "00000110");
  EXPECT_EQ(kvr_double::actions_without_home(), (Texts{"NORMAL", "CAMERA"}));
  camera_toggle = 0;  // switched off by the user: on again at the end of the frame
  run_frame();
  EXPECT_EQ(camera_toggle, 1);

  rest_toggle = 0;
  run_frame();
  EXPECT_EQ(views(), "00000101");
  EXPECT_EQ(colvis4, 3);
  run_frame();
  EXPECT_EQ(views(), "00000001");
  camera_toggle = 1;  // free again once the view is off
  run_frame();
  EXPECT_EQ(views(), "00000100");
}

}  // namespace
}  // namespace maison::testing
