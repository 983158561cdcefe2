// The heat-loss model of the fixed house: 96 m2 of gross wall with one 2 m2
// door, a glazed area that grows with the window count, 100 m2 of floor and
// of ceiling. Steady-state losses at the site's base outdoor temperature and
// an annual need from its degree-days. Every result is recomputed each frame.
#ifndef MAISON_THERMAL_HEAT_LOSS_MODEL_H
#define MAISON_THERMAL_HEAT_LOSS_MODEL_H

#include "model/house_state.h"

namespace maison {

inline double& wall_resistance = house.wall_resistance;        // m2.K/W
inline double& floor_resistance = house.floor_resistance;      // crawl space included
inline double& ceiling_resistance = house.ceiling_resistance;  // surface resistance included
inline double& wall_u = house.wall_u;                          // W/(m2.K)
inline double& floor_u = house.floor_u;
inline double& ceiling_u = house.ceiling_u;
inline double& door_u = house.door_u;
inline double& window_area = house.window_area;  // m2
inline double& wall_area = house.wall_area;      // opaque wall, m2
inline double& floor_factor = house.floor_factor;
inline double& ceiling_factor = house.ceiling_factor;

inline double& wall_loss_coefficient = house.wall_loss_coefficient;  // W/K
inline double& window_loss_coefficient = house.window_loss_coefficient;
inline double& door_loss_coefficient = house.door_loss_coefficient;
inline double& floor_loss_coefficient = house.floor_loss_coefficient;
inline double& ceiling_loss_coefficient = house.ceiling_loss_coefficient;
inline double& ventilation_loss_coefficient = house.ventilation_loss_coefficient;
inline double& total_loss_coefficient = house.total_loss_coefficient;

inline double& temperature_difference =
    house.temperature_difference;  // K, indoor minus base outdoor

inline double& wall_loss = house.wall_loss;  // W
inline double& window_loss = house.window_loss;
inline double& door_loss = house.door_loss;
inline double& floor_loss = house.floor_loss;
inline double& ceiling_loss = house.ceiling_loss;
inline double& ventilation_loss = house.ventilation_loss;
inline double& total_loss = house.total_loss;

inline double& wall_loss_share = house.wall_loss_share;  // per cent of total_loss
inline double& window_loss_share = house.window_loss_share;
inline double& door_loss_share = house.door_loss_share;
inline double& floor_loss_share = house.floor_loss_share;
inline double& ceiling_loss_share = house.ceiling_loss_share;
inline double& ventilation_loss_share = house.ventilation_loss_share;

inline double& annual_need = house.annual_need;  // kWh per year
inline double& need_per_m2 = house.need_per_m2;  // kWh per m2 of floor and year

// The model on any state: reads its coefficients and the four parameters
// it uses, writes its results and nothing else.
void compute_heat_losses(KvrHouseState& state);

// The frame step: the model on the program's house.
void compute_heat_losses();

}  // namespace maison

#endif
