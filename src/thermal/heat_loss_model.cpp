// Constants are the double-precision values the results are checked
// against, and every sum and product is evaluated in the order written:
// reordering changes the last bit of the results.
#include "thermal/heat_loss_model.h"

#include "model/coefficients.h"
#include "model/parameters.h"

namespace maison {
namespace {

// The lining and the render are counted by multiplying with the
// reciprocals of their conductivities, 0.57 and 0.7.
constexpr double lining_reciprocal_lambda = 1.7543859649122808;
constexpr double render_reciprocal_lambda = 1.4285714285714286;
constexpr double wall_surface_resistance = 0.17;

constexpr double gross_wall_area = 96;
constexpr double door_area = 2;
// 3 x 2.4 in double precision, one unit in the last place below 7.2.
constexpr double window_base_area = 7.199999999999999;
constexpr double area_per_window = 2.4;
constexpr double slab_area = 100;  // floor and ceiling each

constexpr double door_u_value = 2.7027027027027026;                // 1 / 0.37
constexpr double door_loss_coefficient_value = 5.405405405405405;  // 2 m2 x door_u

struct FactorBands {
  double low;     // U <= 0.6
  double middle;  // 0.6 < U < 2.4
  double high;    // U >= 2.4
};

constexpr FactorBands floor_factors{0.85, 0.75, 0.65};
constexpr FactorBands ceiling_factors{0.95, 0.9, 0.85};

struct VentilationSystem {
  double ventilation_type;
  double k;  // W/K per air change per hour
};

constexpr VentilationSystem ventilation_systems[] = {
    // ventilation_type, k
    {1, 81.6},
    {2, 32.64},
    {3, 16.32},
};

// Three separate tests: 0.6 belongs to the lower band, 2.4 to the upper one.
void choose_factor(double u, const FactorBands& bands, double& factor) {
  if (u <= 0.6) factor = bands.low;
  if (0.6 < u && u < 2.4) factor = bands.middle;
  if (u >= 2.4) factor = bands.high;
}

}  // namespace

void compute_heat_losses() {
  wall_resistance = wall_depth / wall_lambda + wall_insulation_depth / wall_insulation_lambda +
                    wall_lining_depth * lining_reciprocal_lambda +
                    render_depth * render_reciprocal_lambda + wall_surface_resistance;
  floor_resistance = floor_insulation_depth / floor_insulation_lambda + floor_depth / floor_lambda +
                     crawlspace_resistance;
  wall_u = 1 / wall_resistance;
  floor_u = 1 / floor_resistance;

  window_area = window_base_area + area_per_window * window_count;
  wall_area = (gross_wall_area - window_area) - door_area;
  wall_loss_coefficient = wall_u * wall_area;
  window_loss_coefficient = window_u * window_area;
  door_u = door_u_value;
  door_loss_coefficient = door_loss_coefficient_value;

  choose_factor(floor_u, floor_factors, floor_factor);
  ceiling_resistance = ceiling_insulation_depth / ceiling_insulation_lambda +
                       ceiling_depth / ceiling_lambda + ceiling_surface_resistance;
  ceiling_u = 1 / ceiling_resistance;
  floor_loss_coefficient = floor_factor * floor_u * slab_area;
  choose_factor(ceiling_u, ceiling_factors, ceiling_factor);
  ceiling_loss_coefficient = ceiling_factor * ceiling_u * slab_area;

  for (const VentilationSystem& system : ventilation_systems) {
    if (ventilation_type == system.ventilation_type) {
      ventilation_loss_coefficient = air_change_rate * system.k;
    }
  }

  temperature_difference = indoor_temperature - outdoor_base_temperature;
  ventilation_loss = ventilation_loss_coefficient * temperature_difference;
  ceiling_loss = ceiling_loss_coefficient * temperature_difference;
  floor_loss = floor_loss_coefficient * temperature_difference;
  window_loss = window_loss_coefficient * temperature_difference;
  wall_loss = wall_loss_coefficient * temperature_difference;
  door_loss = temperature_difference * door_loss_coefficient_value;
  total_loss = ventilation_loss + ceiling_loss + floor_loss + window_loss + door_loss + wall_loss;

  wall_loss_share = wall_loss / total_loss * 100;
  window_loss_share = window_loss / total_loss * 100;
  door_loss_share = door_loss / total_loss * 100;
  floor_loss_share = floor_loss / total_loss * 100;
  ceiling_loss_share = ceiling_loss / total_loss * 100;
  ventilation_loss_share = ventilation_loss / total_loss * 100;

  total_loss_coefficient = ventilation_loss_coefficient + ceiling_loss_coefficient +
                           floor_loss_coefficient + window_loss_coefficient +
                           wall_loss_coefficient + door_loss_coefficient_value;
  annual_need = degree_days * total_loss_coefficient * 0.024;  // degree-days x W/K x 24 h / 1000
  need_per_m2 = annual_need * 0.01;                            // per m2 of the 100 m2 floor
}

}  // namespace maison
