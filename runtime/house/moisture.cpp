#include "moisture.h"

#include <cmath>

namespace kvr::house {
namespace {

struct Element {
  Surface surface;
  const char* name;
  double KvrHouseState::*u;
  double KvrHouseState::*factor;  // nullptr: the full temperature difference
  double surface_resistance;
};

constexpr Element elements[surface_count] = {
    {Surface::walls, "murs", &KvrHouseState::wall_u, nullptr, opaque_surface_resistance},
    {Surface::windows, "fenêtres", &KvrHouseState::window_u, nullptr, glazing_surface_resistance},
    {Surface::door, "porte", &KvrHouseState::door_u, nullptr, opaque_surface_resistance},
    {Surface::floor, "plancher", &KvrHouseState::floor_u, &KvrHouseState::floor_factor,
     opaque_surface_resistance},
    {Surface::ceiling, "plafond", &KvrHouseState::ceiling_u, &KvrHouseState::ceiling_factor,
     opaque_surface_resistance},
};

}  // namespace

double saturation_pressure(double temperature) {
  return 6.112 * std::exp(magnus_a * temperature / (magnus_b + temperature));
}

double dew_point(double temperature, double relative_humidity) {
  const double gamma =
      std::log(relative_humidity / 100) + magnus_a * temperature / (magnus_b + temperature);
  return magnus_b * gamma / (magnus_a - gamma);
}

MoistureCheck check_moisture(const KvrHouseState& state, double indoor_relative_humidity) {
  MoistureCheck check{};
  check.indoor_temperature = state.indoor_temperature;
  check.indoor_relative_humidity = indoor_relative_humidity;
  check.dew_point = dew_point(state.indoor_temperature, indoor_relative_humidity);
  const double vapour_pressure =
      indoor_relative_humidity / 100 * saturation_pressure(state.indoor_temperature);
  for (int i = 0; i < surface_count; ++i) {
    const Element& element = elements[i];
    SurfaceCheck& surface = check.surfaces[static_cast<std::size_t>(i)];
    surface.surface = element.surface;
    surface.name = element.name;
    surface.u = state.*element.u;
    surface.temperature_difference = state.temperature_difference;
    if (element.factor != nullptr) surface.temperature_difference *= state.*element.factor;
    surface.surface_resistance = element.surface_resistance;
    surface.surface_temperature = state.indoor_temperature - surface.u *
                                                                 element.surface_resistance *
                                                                 surface.temperature_difference;
    surface.surface_relative_humidity =
        100 * vapour_pressure / saturation_pressure(surface.surface_temperature);
    surface.condensation = surface.surface_temperature < check.dew_point;
    surface.mould_risk = surface.surface_relative_humidity > mould_humidity_limit;
    surface.verdict = surface.condensation ? "condensation"
                      : surface.mould_risk ? "risque de moisissure"
                                           : "sain";
  }
  return check;
}

int step_humidity(int humidity, int direction) {
  const int next = humidity + (direction > 0 ? humidity_step : direction < 0 ? -humidity_step : 0);
  if (next < humidity_lowest) return humidity_lowest;
  if (next > humidity_highest) return humidity_highest;
  return next;
}

}  // namespace kvr::house
