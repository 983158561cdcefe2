// Wall colours, the camera actions and the outdoor temperature labels.
#include "feedback/wall_appearance.h"

#include "input/modal_views.h"
#include "model/coefficients.h"
#include "model/parameters.h"
#include "program_test.h"
#include "startup/scene_variables.h"

namespace maison::testing {
namespace {

using WallAppearanceTest = RunningProgramTest;

std::vector<ColourTriple> wall_colours() {
  return {MURBORD, MURFOND, MURSOMBR};
}

TEST_F(WallAppearanceTest, WallColoursFollowMaterialAndRender) {
  const struct {
    double type, render, depth;
    std::vector<ColourTriple> colours;
  } cases[] = {
      {2, 1, 0, {{187, 191, 191}, {139, 141, 141}, {54, 64, 47}}},
      {3, 1, 0, {{187, 191, 191}, {139, 141, 141}, {54, 64, 47}}},  // logs keep the last
      {5, 1, 0, {{230, 230, 210}, {205, 205, 185}, {150, 150, 130}}},
      {5, 2, 0, {{230, 230, 210}, {205, 205, 185}, {150, 150, 130}}},  // a render of no thickness
      {2, 2, 0.01, {{217, 205, 152}, {217, 205, 152}, {217, 205, 152}}},
      {1, 1, 0, {{240, 89, 84}, {201, 76, 71}, {178, 66, 62}}},
      {4, 1, 0, {{240, 89, 84}, {201, 76, 71}, {178, 66, 62}}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.type << " " << c.render << " " << c.depth);
    wall_type = c.type;
    wall_render = c.render;
    render_depth = c.depth;
    update_wall_appearance();
    EXPECT_EQ(wall_colours(), c.colours);
  }
}

TEST_F(WallAppearanceTest, CameraActionsPlayOncePerChangeOfTheToggle) {
  const std::pair<std::int16_t, std::vector<std::string>> frames[] = {
      {0, {"NORMAL"}}, {1, {"CAMERA"}}, {1, {}}, {0, {"NORMAL"}}, {0, {}}};
  for (const auto& [toggle, played] : frames) {
    kvr_double::reset();
    camera_toggle = toggle;
    update_wall_appearance();
    EXPECT_EQ(kvr_double::actions(), played);
  }
}

TEST_F(WallAppearanceTest, OutdoorLabelsAtZeroFiveAndTenAbove) {
  const std::pair<double, std::vector<std::string>> cases[] = {{-2.0, {"-2.0", "3.0", "8.0"}},
                                                               {-18.0, {"-18.0", "-13.0", "-8.0"}},
                                                               {-4.0, {"-4.0", "1.0", "6.0"}}};
  for (const auto& [temperature, labels] : cases) {
    outdoor_base_temperature = temperature;
    update_wall_appearance();
    EXPECT_EQ((std::vector<std::string>{text(TEMPEXT), text(TEMPCINQ), text(TEMPDIX)}), labels);
  }
}

}  // namespace
}  // namespace maison::testing
