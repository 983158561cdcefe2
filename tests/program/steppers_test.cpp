// The steppers: gates and steps of the open panel's arrows, and the texts
// of the Ventilation and Temperature panels.
#include "model/parameters.h"
#include "program_test.h"
#include "startup/scene_variables.h"

namespace maison::testing {
namespace {

using StepperTest = RunningProgramTest;

std::vector<double> all_parameters() {
  return {wall_type,
          wall_thickness,
          wall_insulation,
          wall_insulation_thickness,
          wall_render,
          wall_render_thickness,
          glazing_type,
          glazing_gap,
          window_count,
          floor_type,
          floor_thickness,
          floor_insulation,
          floor_insulation_thickness,
          ceiling_type,
          ceiling_thickness,
          ceiling_insulation,
          ceiling_insulation_thickness,
          crawlspace_type,
          ventilation_type,
          air_change_rate,
          indoor_temperature,
          region,
          altitude_band};
}

TEST_F(StepperTest, ArrowsWithoutAnOpenPanelOrParameterChangeNothing) {
  const auto before = all_parameters();
  for (int row = 1; row <= 6; ++row) click_arrow(row, true);
  open_panel(Panel::floor);
  click_arrow(5, true);
  click_arrow(6, false);
  EXPECT_EQ(all_parameters(), before);
}

TEST_F(StepperTest, GlazingGapRunsThroughFourToSixteenMillimetres) {
  open_panel(Panel::windows);
  std::vector<double> gaps;
  for (bool plus : {false, false, true, true, true, true, true}) {
    click_arrow(2, plus);
    gaps.push_back(glazing_gap);
  }
  EXPECT_EQ(gaps, (std::vector<double>{4, 4, 8, 12, 16, 16, 16}));
}

TEST_F(StepperTest, TemperaturePanelShowsTheSetPointEveryFrame) {
  open_panel(Panel::temperature);
  Texts shown{text(A1)};
  for (bool plus : {true, true, false, false, false, false}) {
    click_arrow(1, plus);
    shown.push_back(text(A1));
  }
  EXPECT_EQ(shown, (Texts{" 20", " 22", " 22", " 20", " 18", " 16", " 16"}));
}

TEST_F(StepperTest, VentilationPanelShowsSystemAndAirChangeRate) {
  open_panel(Panel::ventilation);
  Texts shown{text(A1)};
  click_arrow(1, true);
  shown.push_back(text(A1));
  click_arrow(1, true, 2);
  shown.push_back(text(A1));
  EXPECT_EQ(shown, (Texts{"simple flux", "double flux", "double HR  "}));
  EXPECT_EQ(text(A2), "1.0");
  click_arrow(2, false, 2);
  EXPECT_EQ(air_change_rate, 0.5);
  EXPECT_EQ(text(A2), "0.5");
}

TEST_F(StepperTest, DependentThicknessStartsUnchosenAndMinusNeverReturnsItThere) {
  wall_insulation = 2;
  open_panel(Panel::walls);
  std::vector<double> levels;
  for (bool plus : {false, true, false, true, true, true}) {
    click_arrow(4, plus);
    levels.push_back(wall_insulation_thickness);
  }
  EXPECT_EQ(levels, (std::vector<double>{0, 1, 1, 2, 3, 3}));
  click_arrow(3, true, 4);
  EXPECT_EQ(wall_insulation, 5.0);
}

}  // namespace
}  // namespace maison::testing
