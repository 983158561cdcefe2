// The heat-loss model of the fixed house: 96 m2 of gross wall with one 2 m2
// door, a glazed area that grows with the window count, 100 m2 of floor and
// of ceiling. Steady-state losses at the site's base outdoor temperature and
// an annual need from its degree-days. Every result is recomputed each frame.
#ifndef MAISON_THERMAL_HEAT_LOSS_MODEL_H
#define MAISON_THERMAL_HEAT_LOSS_MODEL_H

namespace maison {

inline double wall_resistance;     // m2.K/W
inline double floor_resistance;    // crawl space included
inline double ceiling_resistance;  // surface resistance included
inline double wall_u;              // W/(m2.K)
inline double floor_u;
inline double ceiling_u;
inline double door_u;
inline double window_area;  // m2
inline double wall_area;    // opaque wall, m2
inline double floor_factor;
inline double ceiling_factor;

inline double wall_loss_coefficient;  // W/K
inline double window_loss_coefficient;
inline double door_loss_coefficient;
inline double floor_loss_coefficient;
inline double ceiling_loss_coefficient;
inline double ventilation_loss_coefficient;
inline double total_loss_coefficient;

inline double temperature_difference;  // K, indoor minus base outdoor

inline double wall_loss;  // W
inline double window_loss;
inline double door_loss;
inline double floor_loss;
inline double ceiling_loss;
inline double ventilation_loss;
inline double total_loss;

inline double wall_loss_share;  // per cent of total_loss
inline double window_loss_share;
inline double door_loss_share;
inline double floor_loss_share;
inline double ceiling_loss_share;
inline double ventilation_loss_share;

inline double annual_need;  // kWh per year
inline double need_per_m2;  // kWh per m2 of floor and year

void compute_heat_losses();

}  // namespace maison

#endif
