// Surface temperatures and the colour ramp of the camera view.
#include "feedback/surface_colours.h"

#include "model/coefficients.h"
#include "model/parameters.h"
#include "program_test.h"
#include "startup/frame_loop.h"
#include "startup/scene_variables.h"
#include "thermal/heat_loss_model.h"

namespace maison::testing {
namespace {

using SurfaceColourTest = ProgramTest;

TEST_F(SurfaceColourTest, RampRunsFromBlueThroughRedToYellow) {
  const struct {
    double t, d;
    ColourTriple colour;
  } cases[] = {
      {0.5, -2, {125, 0, 125}}, {5, -2, {200, 0, 50}},    {3, -2, {200, 0, 50}},
      {2.0, -2, {200, 0, 50}},  {-3, -8, {250, 0, 0}},    {-1.5, -8, {250, 75, 0}},
      {2.0, -8, {250, 250, 0}}, {-7.99, -8, {0, 0, 249}}, {-15.9, -16, {4, 0, 245}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(temperature_colour(c.t, c.d), c.colour) << c.t << " against " << c.d;
    EXPECT_EQ(ramp_colour, c.colour);
  }
}

TEST_F(SurfaceColourTest, OutsideTheRampThePreviousColourStays) {
  EXPECT_EQ(temperature_colour(0, -16), (ColourTriple{0, 0, 0}));  // never produced one yet
  const ColourTriple previous = temperature_colour(-1.5, -8);
  EXPECT_EQ(temperature_colour(0, -16), previous);    // more than 10 K above
  EXPECT_EQ(temperature_colour(-16, -16), previous);  // at the outdoor temperature
  EXPECT_EQ(temperature_colour(-20, -16), previous);
}

TEST_F(SurfaceColourTest, StartUpHouseSurfaces) {
  start_running();
  run_frame();
  EXPECT_NEAR(window_surface_temperature, 2.7773, 1e-9);
  EXPECT_NEAR(door_surface_temperature, 0.5568, 1e-4);
  EXPECT_NEAR(wall_surface_temperature, 1.44, 1e-9);
  EXPECT_EQ(COLFEN, (ColourTriple{200, 0, 50}));
  for (const ColourTriple* colour : {&COLMUR, &COLPLAN, &COLPLAF, &COLPORTE, &COLFEN}) {
    EXPECT_EQ(colour->green, 0);  // all in the lower band
    EXPECT_GE(colour->red + colour->blue, 249);
    EXPECT_LE(colour->red + colour->blue, 250);
  }
  EXPECT_EQ(COLMUR, (ColourTriple{171, 0, 78}));  // (1.44 + 2) x 50 = 172 less an ulp
}

TEST_F(SurfaceColourTest, WindowsAreCappedAtThreeDegrees) {
  start_running();
  indoor_temperature = 22;  // -2 + 24 x 5.05 x 0.043 = 3.21
  run_frame();
  EXPECT_EQ(window_surface_temperature, 3.0);
  EXPECT_EQ(text(F2), "3.0");
  EXPECT_EQ(COLFEN, (ColourTriple{200, 0, 50}));
}

}  // namespace
}  // namespace maison::testing
