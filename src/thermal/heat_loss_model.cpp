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

void compute_heat_losses(KvrHouseState& s) {
  s.wall_resistance = s.wall_depth / s.wall_lambda +
                      s.wall_insulation_depth / s.wall_insulation_lambda +
                      s.wall_lining_depth * lining_reciprocal_lambda +
                      s.render_depth * render_reciprocal_lambda + wall_surface_resistance;
  s.floor_resistance = s.floor_insulation_depth / s.floor_insulation_lambda +
                       s.floor_depth / s.floor_lambda + s.crawlspace_resistance;
  s.wall_u = 1 / s.wall_resistance;
  s.floor_u = 1 / s.floor_resistance;

  s.window_area = window_base_area + area_per_window * s.window_count;
  s.wall_area = (gross_wall_area - s.window_area) - door_area;
  s.wall_loss_coefficient = s.wall_u * s.wall_area;
  s.window_loss_coefficient = s.window_u * s.window_area;
  s.door_u = door_u_value;
  s.door_loss_coefficient = door_loss_coefficient_value;

  choose_factor(s.floor_u, floor_factors, s.floor_factor);
  s.ceiling_resistance = s.ceiling_insulation_depth / s.ceiling_insulation_lambda +
                         s.ceiling_depth / s.ceiling_lambda + s.ceiling_surface_resistance;
  s.ceiling_u = 1 / s.ceiling_resistance;
  s.floor_loss_coefficient = s.floor_factor * s.floor_u * slab_area;
  choose_factor(s.ceiling_u, ceiling_factors, s.ceiling_factor);
  s.ceiling_loss_coefficient = s.ceiling_factor * s.ceiling_u * slab_area;

  for (const VentilationSystem& system : ventilation_systems) {
    if (s.ventilation_type == system.ventilation_type) {
      s.ventilation_loss_coefficient = s.air_change_rate * system.k;
    }
  }

  s.temperature_difference = s.indoor_temperature - s.outdoor_base_temperature;
  s.ventilation_loss = s.ventilation_loss_coefficient * s.temperature_difference;
  s.ceiling_loss = s.ceiling_loss_coefficient * s.temperature_difference;
  s.floor_loss = s.floor_loss_coefficient * s.temperature_difference;
  s.window_loss = s.window_loss_coefficient * s.temperature_difference;
  s.wall_loss = s.wall_loss_coefficient * s.temperature_difference;
  s.door_loss = s.temperature_difference * door_loss_coefficient_value;
  s.total_loss = s.ventilation_loss + s.ceiling_loss + s.floor_loss + s.window_loss + s.door_loss +
                 s.wall_loss;

  s.wall_loss_share = s.wall_loss / s.total_loss * 100;
  s.window_loss_share = s.window_loss / s.total_loss * 100;
  s.door_loss_share = s.door_loss / s.total_loss * 100;
  s.floor_loss_share = s.floor_loss / s.total_loss * 100;
  s.ceiling_loss_share = s.ceiling_loss / s.total_loss * 100;
  s.ventilation_loss_share = s.ventilation_loss / s.total_loss * 100;

  s.total_loss_coefficient = s.ventilation_loss_coefficient + s.ceiling_loss_coefficient +
                             s.floor_loss_coefficient + s.window_loss_coefficient +
                             s.wall_loss_coefficient + door_loss_coefficient_value;
  s.annual_need =
      s.degree_days * s.total_loss_coefficient * 0.024;  // degree-days x W/K x 24 h / 1000
  s.need_per_m2 = s.annual_need * 0.01;                  // per m2 of the 100 m2 floor
}

void compute_heat_losses() {
  compute_heat_losses(house);
}

}  // namespace maison
