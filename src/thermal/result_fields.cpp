#include "thermal/result_fields.h"

#include <cmath>
#include <limits>

#include "feedback/surface_colours.h"
#include "model/coefficients.h"
#include "startup/linked_text.h"
#include "startup/scene_variables.h"
#include "thermal/heat_loss_model.h"

namespace maison {
namespace {

struct ResultField {
  LinkedText* field;
  const double* value;
  PrintfFixed format;
};

// Columns: wall, windows, door, floor, ceiling, then ventilation (or the
// outdoor temperature in row F), then the total.
constexpr ResultField result_fields[] = {
    // field, value, format
    {&B1, &wall_u, format_3_2f},
    {&B2, &window_u, format_3_2f},
    {&B3, &door_u, format_3_2f},
    {&B4, &floor_u, format_3_2f},
    {&B5, &ceiling_u, format_3_2f},
    {&C1, &wall_loss_coefficient, format_3_1f},
    {&C2, &window_loss_coefficient, format_3_1f},
    {&C3, &door_loss_coefficient, format_3_1f},
    {&C4, &floor_loss_coefficient, format_3_1f},
    {&C5, &ceiling_loss_coefficient, format_3_1f},
    {&C6, &ventilation_loss_coefficient, format_3_1f},
    {&C7, &total_loss_coefficient, format_3_0f},
    {&D1, &wall_loss, format_3_0f},
    {&D2, &window_loss, format_3_0f},
    {&D3, &door_loss, format_3_0f},
    {&D4, &floor_loss, format_3_0f},
    {&D5, &ceiling_loss, format_3_0f},
    {&D6, &ventilation_loss, format_3_0f},
    {&D7, &total_loss, format_3_0f},
    {&E1, &wall_loss_share, format_3_1f},
    {&E2, &window_loss_share, format_3_1f},
    {&E3, &door_loss_share, format_3_1f},
    {&E4, &floor_loss_share, format_3_1f},
    {&E5, &ceiling_loss_share, format_3_1f},
    {&E6, &ventilation_loss_share, format_3_1f},
    {&F1, &wall_surface_temperature, format_3_1f},
    {&F2, &window_surface_temperature, format_3_1f},
    {&F3, &door_surface_temperature, format_3_1f},
    {&F4, &floor_surface_temperature, format_3_1f},
    {&F5, &ceiling_surface_temperature, format_3_1f},
    {&F6, &outdoor_base_temperature, format_3_0f},
    {&G1, &annual_need, format_3_0f},
};

constexpr double unbounded = std::numeric_limits<double>::infinity();

struct EnergyClass {
  double lowest;   // whole kWh per m2 and year, inclusive
  double highest;  // inclusive
  std::string_view letter;
};

constexpr EnergyClass energy_classes[] = {
    // lowest, highest, letter
    {-unbounded, 50, "A"}, {51, 90, "B"},   {91, 150, "C"},        {151, 230, "D"},
    {231, 330, "E"},       {331, 450, "F"}, {451, unbounded, "G"},
};

}  // namespace

std::string_view energy_class(double need) {
  const double whole = std::round(need);
  for (const EnergyClass& entry : energy_classes) {
    if (entry.lowest <= whole && whole <= entry.highest) return entry.letter;
  }
  return {};  // not a number
}

void write_result_fields() {
  for (const ResultField& entry : result_fields) {
    write_number(*entry.field, *entry.value, entry.format);
  }
  const std::string_view letter = energy_class(need_per_m2);
  if (!letter.empty()) write_label(KLASS, letter);
}

}  // namespace maison
