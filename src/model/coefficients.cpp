#include "model/coefficients.h"

namespace maison {

void set_coefficient_start_values() {
  wall_lambda = 1.0;
  wall_depth = 0.105;
  wall_insulation_lambda = 1000000;
  floor_lambda = 1.65;
  floor_depth = 0.1;
  floor_insulation_lambda = 1000000;
  ceiling_lambda = 1.65;
  ceiling_depth = 0.1;
  ceiling_insulation_lambda = 1000000;
  ceiling_surface_resistance = 0.18;
  window_u = 5.05;
  crawlspace_resistance = 0.22;
  outdoor_base_temperature = -2;
  degree_days = 1700;
}

}  // namespace maison
