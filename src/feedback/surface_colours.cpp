#include "feedback/surface_colours.h"

#include <cstdint>

#include "model/coefficients.h"
#include "model/parameters.h"
#include "startup/scene_variables.h"
#include "thermal/heat_loss_model.h"

namespace maison {
namespace {

constexpr double warmest_coloured = 2.0;
constexpr double warmest_window = 3.0;

struct Surface {
  double KvrHouseState::*u;
  double k;  // share of the temperature drop across the inner surface
  double KvrHouseState::*temperature;
  ColourTriple* colour;
  bool is_window;
};

constexpr Surface surfaces[] = {
    // U-value, k, temperature, colour, window
    {&KvrHouseState::wall_u, 0.043, &KvrHouseState::wall_surface_temperature, &COLMUR, false},
    {&KvrHouseState::floor_u, 0.025799999999999997,  // 0.043 x 0.6
     &KvrHouseState::floor_surface_temperature, &COLPLAN, false},
    {&KvrHouseState::ceiling_u, 0.025799999999999997, &KvrHouseState::ceiling_surface_temperature,
     &COLPLAF, false},
    {&KvrHouseState::door_u, 0.043, &KvrHouseState::door_surface_temperature, &COLPORTE, false},
    {&KvrHouseState::window_u, 0.043, &KvrHouseState::window_surface_temperature, &COLFEN, true},
};

std::int16_t truncated(double value) {
  return static_cast<std::int16_t>(value);
}

}  // namespace

ColourTriple temperature_colour(double t, double d) {
  const double s = t > warmest_coloured ? warmest_coloured : t;
  if (d + 5 < s && s <= d + 10) {
    ramp_colour = {250, truncated(((s - d) - 5) * 50), 0};
  }
  if (d < s && s <= d + 5) {
    // Both truncations work on the unrounded x: red and blue add up to 249 or 250.
    const double x = (s - d) * 50;
    ramp_colour = {truncated(x), 0, truncated(250 - x)};
  }
  return ramp_colour;
}

void compute_surface_temperatures(KvrHouseState& s) {
  const double delta = s.indoor_temperature - s.outdoor_base_temperature;
  for (const Surface& surface : surfaces) {
    double temperature = s.outdoor_base_temperature + (delta * s.*surface.u) * surface.k;
    if (surface.is_window && temperature > warmest_window) temperature = warmest_window;
    s.*surface.temperature = temperature;
  }
}

void colour_surfaces() {
  compute_surface_temperatures(house);
  for (const Surface& surface : surfaces) {
    *surface.colour = temperature_colour(house.*surface.temperature, outdoor_base_temperature);
  }
}

}  // namespace maison
