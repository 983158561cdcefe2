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

TEST_F(WallAppearanceTest, WallColoursFollowMaterialAndRender) {
  const ColourTriple brick{240, 89, 84}, block{187, 191, 191}, cellular{230, 230, 210},
      render{217, 205, 152};
  const struct {
    double type, render, depth;
    ColourTriple edge;
  } cases[] = {
      {2, 1, 0, block},     {3, 1, 0, block},     // logs keep the last colours
      {5, 1, 0, cellular},  {5, 2, 0, cellular},  // a render of no thickness too
      {2, 2, 0.01, render}, {1, 1, 0, brick},    {4, 1, 0, brick},
  };
  for (const auto& c : cases) {
    wall_type = c.type;
    wall_render = c.render;
    render_depth = c.depth;
    update_wall_appearance();
    EXPECT_EQ(MURBORD, c.edge) << c.type << " " << c.render << " " << c.depth;
  }
  EXPECT_EQ(MURFOND, (ColourTriple{201, 76, 71}));
  EXPECT_EQ(MURSOMBR, (ColourTriple{178, 66, 62}));
  wall_type = 5;
  update_wall_appearance();
  EXPECT_EQ(MURSOMBR, (ColourTriple{150, 150, 130}));
}

TEST_F(WallAppearanceTest, CameraActionsPlayOncePerChangeOfTheToggle) {
  Texts played;
  for (int toggle : {0, 1, 1, 0, 0}) {
    kvr_double::reset();
    camera_toggle = static_cast<std::int16_t>(toggle);
    update_wall_appearance();
    played.push_back(kvr_double::actions().empty() ? "-" : kvr_double::actions()[0]);
  }
  EXPECT_EQ(played, (Texts{"NORMAL", "CAMERA", "-", "NORMAL", "-"}));
}

TEST_F(WallAppearanceTest, OutdoorLabelsAtZeroFiveAndTenAbove) {
  for (auto [temperature, labels] :
       {std::pair{-2.0, Texts{"-2.0", "3.0", "8.0"}}, {-18.0, Texts{"-18.0", "-13.0", "-8.0"}}}) {
    outdoor_base_temperature = temperature;
    update_wall_appearance();
    EXPECT_EQ(texts({&TEMPEXT, &TEMPCINQ, &TEMPDIX}), labels);
  }
}

}  // namespace
}  // namespace maison::testing
