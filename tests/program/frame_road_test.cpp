// The road of one click: from the pointer to the results, within one frame.
#include "feedback/surface_colours.h"
#include "model/coefficients.h"
#include "model/parameters.h"
#include "program_test.h"
#include "startup/frame_loop.h"
#include "startup/scene_variables.h"
#include "thermal/heat_loss_model.h"

namespace maison::testing {
namespace {

using FrameRoadTest = RunningProgramTest;

TEST_F(FrameRoadTest, InsulatingTheWallsReachesTheResultsInTheSameFrame) {
  open_panel(Panel::walls);
  const double u_before = wall_u;
  const std::string wall_u_text = text(B1);
  const std::string need_text = text(G1);
  const ColourTriple wall_colour = COLMUR;

  kvr_double::reset();
  click_arrow(3, true);
  EXPECT_EQ(wall_insulation, 2.0);
  EXPECT_EQ(text(A3), "laine de verre");
  EXPECT_EQ(wall_insulation_lambda, 0.039);
  EXPECT_EQ(text(A4), "0.000");
  EXPECT_EQ(wall_u, u_before);  // no thickness chosen yet
  EXPECT_EQ(kvr_double::actions(), (std::vector<std::string>{"HOME", "HOME"}));

  click_arrow(4, true);
  EXPECT_EQ(wall_insulation_depth, 0.1);
  EXPECT_EQ(wall_lining_depth, 0.02);
  EXPECT_LT(wall_u, 0.4);
  EXPECT_NE(text(B1), wall_u_text);
  EXPECT_EQ(text(B1), "0.35");  // 1 / (0.105 + 0.1 / 0.039 + 0.02 / 0.57 + 0.17)
  EXPECT_LT(std::stod(text(G1)), std::stod(need_text));
  EXPECT_LT(COLMUR.red, wall_colour.red);  // a colder wall surface
  EXPECT_GT(COLMUR.blue, wall_colour.blue);
}

}  // namespace
}  // namespace maison::testing
