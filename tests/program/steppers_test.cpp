// The steppers: which arrow moves which parameter, their gates and steps,
// and the texts of the Ventilation and Temperature panels.
#include <functional>

#include "model/parameters.h"
#include "program_test.h"
#include "startup/scene_variables.h"

namespace maison::testing {
namespace {

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

struct Gate {
  Panel panel;
  int row;
  double* parameter;
  double lowest;  // reached by the minus arrow
  double highest;
  double step;
  std::function<void()> precondition;
};

using StepperTest = RunningProgramTest;

TEST_F(StepperTest, EveryArrowMovesItsParameterOneStepWithinItsGates) {
  const auto none = [] {};
  const Gate gates[] = {
      {Panel::walls, 1, &wall_type, 1, 5, 1, none},
      {Panel::walls, 2, &wall_thickness, 1, 3, 1, none},
      {Panel::walls, 3, &wall_insulation, 1, 5, 1, none},
      {Panel::walls, 4, &wall_insulation_thickness, 1, 3, 1, [] { wall_insulation = 2; }},
      {Panel::walls, 5, &wall_render, 1, 2, 1, none},
      {Panel::walls, 6, &wall_render_thickness, 1, 2, 1, [] { wall_render = 2; }},
      {Panel::windows, 1, &glazing_type, 1, 3, 1, none},
      {Panel::windows, 2, &glazing_gap, 4, 16, 4, none},
      {Panel::windows, 3, &window_count, 1, 3, 1, none},
      {Panel::floor, 1, &floor_type, 1, 4, 1, none},
      {Panel::floor, 2, &floor_thickness, 1, 3, 1, none},
      {Panel::floor, 3, &floor_insulation, 1, 5, 1, none},
      {Panel::floor, 4, &floor_insulation_thickness, 1, 3, 1, [] { floor_insulation = 3; }},
      {Panel::ceiling, 1, &ceiling_type, 1, 4, 1, none},
      {Panel::ceiling, 2, &ceiling_thickness, 1, 3, 1, none},
      {Panel::ceiling, 3, &ceiling_insulation, 1, 5, 1, none},
      {Panel::ceiling, 4, &ceiling_insulation_thickness, 1, 3, 1, [] { ceiling_insulation = 4; }},
      {Panel::crawlspace, 1, &crawlspace_type, 1, 3, 1, none},
      {Panel::ventilation, 1, &ventilation_type, 1, 3, 1, none},
      {Panel::ventilation, 2, &air_change_rate, 0.5, 1.5, 0.5, none},
      {Panel::temperature, 1, &indoor_temperature, 16, 22, 2, none},
      {Panel::location, 1, &region, 1, 3, 1, none},
      {Panel::location, 2, &altitude_band, 1, 2, 1, none},
  };
  for (const Gate& gate : gates) {
    SCOPED_TRACE(::testing::Message() << "panel " << index_of(gate.panel) << " row " << gate.row);
    start_afresh();
    start_running();
    gate.precondition();
    open_panel(gate.panel);
    const int clicks = static_cast<int>((gate.highest - gate.lowest) / gate.step) + 2;
    const double start = *gate.parameter;
    click_arrow(gate.row, true);
    EXPECT_EQ(*gate.parameter, start < gate.lowest ? gate.lowest : start + gate.step);
    click_arrow(gate.row, true, clicks);
    EXPECT_EQ(*gate.parameter, gate.highest);
    click_arrow(gate.row, false);
    EXPECT_EQ(*gate.parameter, gate.highest - gate.step);
    click_arrow(gate.row, false, clicks);
    EXPECT_EQ(*gate.parameter, gate.lowest);
  }
}

TEST_F(StepperTest, ArrowsWithoutAnOpenPanelOrParameterChangeNothing) {
  const auto before = all_parameters();
  for (int row = 1; row <= 6; ++row) {
    click_arrow(row, false);
    click_arrow(row, true);
  }
  EXPECT_EQ(all_parameters(), before);
  open_panel(Panel::floor);
  for (int row = 5; row <= 6; ++row) {
    click_arrow(row, false);
    click_arrow(row, true);
  }
  EXPECT_EQ(all_parameters(), before);
}

TEST_F(StepperTest, DependentThicknessStartsUnchosenAndMinusNeverReturnsItThere) {
  wall_insulation = 2;
  open_panel(Panel::walls);
  click_arrow(4, false);
  EXPECT_EQ(wall_insulation_thickness, 0);
  click_arrow(4, true);
  click_arrow(4, false);
  EXPECT_EQ(wall_insulation_thickness, 1);
}

TEST_F(StepperTest, TemperaturePanelShowsTheSetPointEveryFrame) {
  open_panel(Panel::temperature);
  EXPECT_EQ(text(A1), " 20");
  click_arrow(1, true, 2);
  EXPECT_EQ(text(A1), " 22");
  const char* expected[] = {" 20", " 18", " 16", " 16"};
  for (const char* shown : expected) {
    click_arrow(1, false);
    EXPECT_EQ(text(A1), shown);
  }
}

TEST_F(StepperTest, VentilationPanelShowsSystemAndAirChangeRate) {
  open_panel(Panel::ventilation);
  EXPECT_EQ(text(A1), "simple flux");
  click_arrow(1, true);
  EXPECT_EQ(text(A1), "double flux");
  click_arrow(1, true);
  EXPECT_EQ(text(A1), "double HR  ");
  EXPECT_EQ(A1.length, 11);
  EXPECT_EQ(text(A2), "1.0");
  click_arrow(2, false, 2);
  EXPECT_EQ(text(A2), "0.5");
  click_arrow(2, true, 3);
  EXPECT_EQ(text(A2), "1.5");
}

TEST_F(StepperTest, ClosedPanelKeepsItsChoices) {
  open_panel(Panel::walls);
  click_arrow(1, true, 2);
  open_panel(Panel::floor);
  click_arrow(1, true);
  open_panel(Panel::walls);
  EXPECT_EQ(text(A1), "rondins sapin");
  EXPECT_EQ(wall_type, 3);
  EXPECT_EQ(floor_type, 2);
}

}  // namespace
}  // namespace maison::testing
