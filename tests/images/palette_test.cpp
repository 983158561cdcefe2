// The palette for every eye: the camera's colours read back as places on
// the program's temperature ramp and shown at the same places of cividis,
// the legend drawn in cividis, the energy classes in their cividis twins;
// the standard palette untouched.
#include <gtest/gtest.h>

#include <cmath>

#include "canvas.h"
#include "home_scene.h"
#include "model/colour_maps.h"

namespace {

using kvr::render::Rgba;

// The program's ramp for a surface `above` degrees warmer than outside:
// blue to red over the first 5 K, red to yellow over the next 5 (whole
// levels, truncated as the program truncates them).
Rgba program_colour(double above) {
  double x = above * 50.0;
  if (above <= 5.0) {
    double red = std::trunc(x), blue = std::trunc(250.0 - x);
    return {red / 255.0, 0.0, blue / 255.0, 1.0};
  }
  return {250.0 / 255.0, std::trunc((above - 5.0) * 50.0) / 255.0, 0.0, 1.0};
}

TEST(Palette, EveryColourOfTheProgramsRampIsReadBackAtItsPlace) {
  test::Home home;
  const auto& ramp = home.scene.ramp_colours;
  ASSERT_EQ(ramp.size(), 3u);
  for (double above = 0.0; above <= 10.0; above += 0.25) {
    double at = kvr::render::ramp_position(ramp.data(), ramp.size(), program_colour(above));
    // A level of the ramp is a fiftieth of a degree: 1/500 of its length.
    EXPECT_NEAR(at, above / 10.0, 1.0 / 500.0) << above << " K above outside";
  }
  // Cividis runs from its dark blue to its yellow, lighter all the way.
  Rgba cold = kvr::render::cividis(0.0), warm = kvr::render::cividis(1.0);
  EXPECT_NEAR(cold.b, 0.304751, 1e-6);
  EXPECT_NEAR(warm.r, 0.995737, 1e-6);
  double last = -1.0;
  for (int i = 0; i <= 100; ++i) {
    Rgba c = kvr::render::cividis(i / 100.0);
    double light = 0.2126 * c.r + 0.7152 * c.g + 0.0722 * c.b;
    EXPECT_GT(light, last) << i;
    last = light;
  }
}

int channel(double v) {
  return static_cast<int>(std::lround(v * 255.0));
}

TEST(Palette, TheCameraItsLegendAndTheClassesTakeCividisAndNothingElseChanges) {
  test::Home home;
  kvr::HouseViews house;
  kvr::FrameView view = home.view();
  view.house_views = &house;
  home.records.show("HOME.TLTOISOL", 0.0f);
  home.records.show("HOME.TALCAM", 1.0f);
  // The walls 4 K above outside: two fifths of the ramp.
  home.records.colour("HOME.COLMUR", 200, 0, 50);
  test::Canvas standard(800, 600), cividis(800, 600);
  standard.draw(home.renderer, view);
  house.palette = kvr::Palette::Cividis;
  cividis.draw(home.renderer, view);
  // A bare spot of the camera's back wall (layout 210, 330).
  EXPECT_EQ(standard.at(210, 270), (test::Rgb{200, 0, 50}));
  Rgba wall = kvr::render::cividis(0.4);
  test::Rgb seen = cividis.at(210, 270);
  EXPECT_NEAR(seen.r, channel(wall.r), 1);
  EXPECT_NEAR(seen.g, channel(wall.g), 1);
  EXPECT_NEAR(seen.b, channel(wall.b), 1);
  // The legend's cold end (layout 452, 173): the ramp's blue, then cividis's
  // dark blue (a hundredth along each).
  test::Rgb blue = standard.at(452, 427), legend = cividis.at(452, 427);
  Rgba cold = kvr::render::cividis(0.0);
  EXPECT_LE(blue.r, 6);
  EXPECT_GE(blue.b, 244);
  EXPECT_NEAR(legend.r, channel(cold.r), 4);
  EXPECT_NEAR(legend.g, channel(cold.g), 4);
  EXPECT_NEAR(legend.b, channel(cold.b), 6);
  // The class label's A bar (its left end, under no letter): the scene's
  // green, then its cividis twin.
  EXPECT_EQ(standard.at(533, 438), (test::Rgb{0x00, 0x9a, 0x5b}));
  EXPECT_EQ(cividis.at(533, 438), (test::Rgb{0xfe, 0xe8, 0x38}));
  // What takes no colour from the palette stays as it was: the map and the
  // menu below the house.
  int elsewhere = 0;
  for (int y = 490; y < 600; ++y)
    for (int x = 0; x < 520; ++x) elsewhere += cividis.at(x, y) == standard.at(x, y) ? 0 : 1;
  EXPECT_EQ(elsewhere, 0);
}

}  // namespace
