// Surface temperatures and the colour ramp of the camera view.
#include "feedback/surface_colours.h"

#include "model/parameters.h"
#include "program_test.h"
#include "startup/frame_loop.h"
#include "startup/scene_variables.h"

namespace maison::testing {
namespace {

using SurfaceColourTest = ProgramTest;

TEST_F(SurfaceColourTest, RampRunsFromBlueThroughRedToYellowAndKeepsItsLastColour) {
  EXPECT_EQ(temperature_colour(0, -16), (ColourTriple{0, 0, 0}));  // never produced one yet
  const struct {
    double t, d;
    ColourTriple colour;
  } cases[] = {
      {0.5, -2, {125, 0, 125}},  {5, -2, {200, 0, 50}},    {2.0, -2, {200, 0, 50}},
      {-3, -8, {250, 0, 0}},     {-1.5, -8, {250, 75, 0}}, {2.0, -8, {250, 250, 0}},
      {-15.9, -16, {4, 0, 245}},  // both truncations on the unrounded 4.99...
      {0, -16, {4, 0, 245}},      // more than 10 K above: the last colour stays
      {-16, -16, {4, 0, 245}},    // at the outdoor temperature: the same
  };
  for (const auto& c : cases) {
    EXPECT_EQ(temperature_colour(c.t, c.d), c.colour) << c.t << " against " << c.d;
  }
}

TEST_F(SurfaceColourTest, StartUpHouseSurfacesAndTheWindowCap) {
  start_running();
  run_frame();
  EXPECT_NEAR(window_surface_temperature, 2.7773, 1e-9);
  EXPECT_NEAR(door_surface_temperature, 0.5568, 1e-4);
  EXPECT_NEAR(wall_surface_temperature, 1.44, 1e-9);
  EXPECT_EQ(COLFEN, (ColourTriple{200, 0, 50}));
  EXPECT_EQ(COLMUR, (ColourTriple{171, 0, 78}));  // (1.44 + 2) x 50 = 172 less an ulp
  for (const ColourTriple* colour : {&COLPLAN, &COLPLAF, &COLPORTE}) {
    EXPECT_EQ(colour->green, 0);  // all in the lower band
    EXPECT_NEAR(colour->red + colour->blue, 249.5, 0.5);
  }
  indoor_temperature = 22;  // windows at -2 + 24 x 5.05 x 0.043 = 3.21
  run_frame();
  EXPECT_EQ(window_surface_temperature, 3.0);
  EXPECT_EQ(text(F2), "3.0");
}

}  // namespace
}  // namespace maison::testing
