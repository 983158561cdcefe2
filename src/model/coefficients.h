// The envelope coefficients that the catalogues derive from the parameters
// and the heat-loss model reads. Each layer counts as its thickness divided
// by its conductivity.
#ifndef MAISON_MODEL_COEFFICIENTS_H
#define MAISON_MODEL_COEFFICIENTS_H

#include "model/house_state.h"

namespace maison {

// Walls, W/(m.K) and m
inline double& wall_lambda = house.wall_lambda;
inline double& wall_depth = house.wall_depth;
inline double& wall_insulation_lambda = house.wall_insulation_lambda;
inline double& wall_insulation_depth = house.wall_insulation_depth;
inline double& wall_lining_depth = house.wall_lining_depth;  // counted at a conductivity of 0.57
inline double& render_depth = house.render_depth;            // counted at a conductivity of 0.7
// Floor
inline double& floor_lambda = house.floor_lambda;
inline double& floor_depth = house.floor_depth;
inline double& floor_insulation_lambda = house.floor_insulation_lambda;
inline double& floor_insulation_depth = house.floor_insulation_depth;
// Ceiling
inline double& ceiling_lambda = house.ceiling_lambda;
inline double& ceiling_depth = house.ceiling_depth;
inline double& ceiling_insulation_lambda = house.ceiling_insulation_lambda;
inline double& ceiling_insulation_depth = house.ceiling_insulation_depth;
inline double& ceiling_surface_resistance =
    house.ceiling_surface_resistance;  // m2.K/W, never changes after start-up
// Windows, crawl space and site
inline double& window_u = house.window_u;                                  // W/(m2.K)
inline double& crawlspace_resistance = house.crawlspace_resistance;        // m2.K/W
inline double& outdoor_base_temperature = house.outdoor_base_temperature;  // degrees Celsius
inline double& degree_days = house.degree_days;

// The coefficients of the start parameters: a brick wall of 0.105 m,
// uninsulated concrete floor and ceiling, single glazing, an open crawl
// space, Cote d'Azur at 10 m. An insulation with no thickness counts for
// nothing, so its conductivity starts at a harmless 1000000.
void set_coefficient_start_values();

}  // namespace maison

#endif
