// The steppers: which parameter each arrow row of each panel moves, with its
// gates and step, and the texts of the two panels without a catalogue.
#include <iterator>
#include <string_view>

#include "input/control_layout.h"
#include "input/panels.h"
#include "model/parameters.h"
#include "startup/linked_text.h"
#include "startup/scene_variables.h"

namespace maison {
namespace {

struct Stepper {
  Panel panel;
  std::size_t row;  // 1 is the top row
  double* parameter;
  double minus_gate;  // minus acts while the value is above it
  double plus_gate;   // plus acts while the value is below it
  double step;
  double start_value;
};

// In the order step_parameters visits them.
constexpr Stepper steppers[] = {
    // panel, row, parameter, minus gate, plus gate, step, start
    {Panel::walls, 1, &wall_type, 1, 5, 1, 1},
    {Panel::walls, 2, &wall_thickness, 1, 3, 1, 1},
    {Panel::walls, 3, &wall_insulation, 1, 5, 1, 1},
    {Panel::walls, 4, &wall_insulation_thickness, 1, 3, 1, 0},
    {Panel::walls, 5, &wall_render, 1, 2, 1, 1},
    {Panel::walls, 6, &wall_render_thickness, 1, 2, 1, 0},
    {Panel::windows, 1, &glazing_type, 1, 3, 1, 1},
    {Panel::windows, 2, &glazing_gap, 5, 15, 4, 8},  // runs through 4, 8, 12 and 16
    {Panel::windows, 3, &window_count, 1, 3, 1, 1},
    {Panel::floor, 1, &floor_type, 1, 4, 1, 1},
    {Panel::floor, 2, &floor_thickness, 1, 3, 1, 1},
    {Panel::floor, 3, &floor_insulation, 1, 5, 1, 1},
    {Panel::floor, 4, &floor_insulation_thickness, 1, 3, 1, 0},
    {Panel::ceiling, 1, &ceiling_type, 1, 4, 1, 1},
    {Panel::ceiling, 2, &ceiling_thickness, 1, 3, 1, 1},
    {Panel::ceiling, 3, &ceiling_insulation, 1, 5, 1, 1},
    {Panel::ceiling, 4, &ceiling_insulation_thickness, 1, 3, 1, 0},
    {Panel::crawlspace, 1, &crawlspace_type, 1, 3, 1, 1},
    {Panel::ventilation, 1, &ventilation_type, 1, 3, 1, 1},
    {Panel::ventilation, 2, &air_change_rate, 0.5, 1.5, 0.5, 1.0},
    {Panel::temperature, 1, &indoor_temperature, 16, 22, 2, 20},
    {Panel::location, 1, &region, 1, 3, 1, 1},
    {Panel::location, 2, &altitude_band, 1, 2, 1, 1},
};

static_assert(std::size(steppers) == 23);

struct VentilationLabel {
  double ventilation_type;
  std::string_view label;
};

constexpr VentilationLabel ventilation_labels[] = {
    // ventilation_type, label (11 characters each)
    {1, "simple flux"},
    {2, "double flux"},
    {3, "double HR  "},
};

void step_panel(Panel panel) {
  if (!panel_open(panel)) return;
  for (const Stepper& stepper : steppers) {
    if (stepper.panel != panel) continue;
    double& value = *stepper.parameter;
    if (minus_clicked[stepper.row - 1] == 1 && value > stepper.minus_gate) value -= stepper.step;
    if (plus_clicked[stepper.row - 1] == 1 && value < stepper.plus_gate) value += stepper.step;
  }
}

// Rewritten every frame while the Ventilation panel is open. A type that
// matches no label writes no characters, but the length is set all the same.
void write_ventilation_texts() {
  for (const VentilationLabel& entry : ventilation_labels) {
    if (ventilation_type == entry.ventilation_type) write_label(A1, entry.label);
  }
  A1.length = 11;
  write_number(A2, air_change_rate, format_3_1f);
}

}  // namespace

void set_parameter_start_values() {
  for (const Stepper& stepper : steppers) {
    // The dependent thickness levels keep the zero they start with.
    if (stepper.start_value != 0) *stepper.parameter = stepper.start_value;
  }
}

void step_parameters() {
  step_panel(Panel::walls);
  step_panel(Panel::windows);
  step_panel(Panel::floor);
  step_panel(Panel::ceiling);
  step_panel(Panel::crawlspace);
  step_panel(Panel::ventilation);
  if (panel_open(Panel::ventilation)) write_ventilation_texts();
  step_panel(Panel::temperature);
  if (panel_open(Panel::temperature)) write_number(A1, indoor_temperature, format_3_0f);
  step_panel(Panel::location);
}

}  // namespace maison
