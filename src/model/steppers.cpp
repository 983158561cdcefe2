// The steppers: which parameter each arrow row of each panel moves, with its
// gates and step, and the texts of the two panels without a catalogue.
#include <cstddef>
#include <cstdint>
#include <iterator>
#include <span>
#include <string_view>

#include "input/control_layout.h"
#include "input/panels.h"
#include "model/parameters.h"
#include "startup/linked_text.h"
#include "startup/scene_variables.h"

namespace maison {
namespace {

// The parameter of a stepper row, by its place in the house's state.
#define at(parameter) static_cast<std::uint32_t>(offsetof(KvrHouseState, parameter))

// In the order step_parameters visits them.
constexpr KvrHouseStepper steppers[] = {
    // panel, row, parameter, minus gate, plus gate, step, start
    {KVR_PANEL_WALLS, 1, at(wall_type), 1, 5, 1, 1},
    {KVR_PANEL_WALLS, 2, at(wall_thickness), 1, 3, 1, 1},
    {KVR_PANEL_WALLS, 3, at(wall_insulation), 1, 5, 1, 1},
    {KVR_PANEL_WALLS, 4, at(wall_insulation_thickness), 1, 3, 1, 0},
    {KVR_PANEL_WALLS, 5, at(wall_render), 1, 2, 1, 1},
    {KVR_PANEL_WALLS, 6, at(wall_render_thickness), 1, 2, 1, 0},
    {KVR_PANEL_WINDOWS, 1, at(glazing_type), 1, 3, 1, 1},
    {KVR_PANEL_WINDOWS, 2, at(glazing_gap), 5, 15, 4, 8},  // runs through 4, 8, 12 and 16
    {KVR_PANEL_WINDOWS, 3, at(window_count), 1, 3, 1, 1},
    {KVR_PANEL_FLOOR, 1, at(floor_type), 1, 4, 1, 1},
    {KVR_PANEL_FLOOR, 2, at(floor_thickness), 1, 3, 1, 1},
    {KVR_PANEL_FLOOR, 3, at(floor_insulation), 1, 5, 1, 1},
    {KVR_PANEL_FLOOR, 4, at(floor_insulation_thickness), 1, 3, 1, 0},
    {KVR_PANEL_CEILING, 1, at(ceiling_type), 1, 4, 1, 1},
    {KVR_PANEL_CEILING, 2, at(ceiling_thickness), 1, 3, 1, 1},
    {KVR_PANEL_CEILING, 3, at(ceiling_insulation), 1, 5, 1, 1},
    {KVR_PANEL_CEILING, 4, at(ceiling_insulation_thickness), 1, 3, 1, 0},
    {KVR_PANEL_CRAWLSPACE, 1, at(crawlspace_type), 1, 3, 1, 1},
    {KVR_PANEL_VENTILATION, 1, at(ventilation_type), 1, 3, 1, 1},
    {KVR_PANEL_VENTILATION, 2, at(air_change_rate), 0.5, 1.5, 0.5, 1.0},
    {KVR_PANEL_TEMPERATURE, 1, at(indoor_temperature), 16, 22, 2, 20},
    {KVR_PANEL_LOCATION, 1, at(region), 1, 3, 1, 1},
    {KVR_PANEL_LOCATION, 2, at(altitude_band), 1, 2, 1, 1},
};

#undef at

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
  for (const KvrHouseStepper& stepper : steppers) {
    if (stepper.panel != static_cast<std::int32_t>(index_of(panel))) continue;
    double& value = parameter_at(house, stepper.offset);
    if (minus_clicked[static_cast<std::size_t>(stepper.row - 1)] == 1 && value > stepper.minus_gate)
      value -= stepper.step;
    if (plus_clicked[static_cast<std::size_t>(stepper.row - 1)] == 1 && value < stepper.plus_gate)
      value += stepper.step;
  }
}

// Rewritten every frame while the Ventilation panel is open. A type that
// matches no label writes no characters, but the length is set all the same.
void write_ventilation_texts() {
  const std::string_view label = ventilation_label(ventilation_type);
  if (!label.empty()) write_label(A1, label);
  A1.length = 11;
  write_number(A2, air_change_rate, format_3_1f);
}

}  // namespace

std::span<const KvrHouseStepper> stepper_table() {
  return steppers;
}

std::string_view ventilation_label(double type) {
  for (const VentilationLabel& entry : ventilation_labels) {
    if (type == entry.ventilation_type) return entry.label;
  }
  return {};
}

void set_parameter_start_values() {
  for (const KvrHouseStepper& stepper : steppers) {
    // The dependent thickness levels keep the zero they start with.
    if (stepper.start_value != 0) parameter_at(house, stepper.offset) = stepper.start_value;
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
