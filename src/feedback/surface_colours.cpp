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
  const double* u;
  double k;  // share of the temperature drop across the inner surface
  double* temperature;
  ColourTriple* colour;
  bool is_window;
};

constexpr Surface surfaces[] = {
    // U-value, k, temperature, colour, window
    {&wall_u, 0.043, &wall_surface_temperature, &COLMUR, false},
    {&floor_u, 0.025799999999999997, &floor_surface_temperature, &COLPLAN, false},  // 0.043 x 0.6
    {&ceiling_u, 0.025799999999999997, &ceiling_surface_temperature, &COLPLAF, false},
    {&door_u, 0.043, &door_surface_temperature, &COLPORTE, false},
    {&window_u, 0.043, &window_surface_temperature, &COLFEN, true},
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

void colour_surfaces() {
  const double delta = indoor_temperature - outdoor_base_temperature;
  for (const Surface& surface : surfaces) {
    double temperature = outdoor_base_temperature + (delta * *surface.u) * surface.k;
    if (surface.is_window && temperature > warmest_window) temperature = warmest_window;
    *surface.temperature = temperature;
    *surface.colour = temperature_colour(temperature, outdoor_base_temperature);
  }
}

}  // namespace maison
