// The 23 parameters that describe the house, one per user choice. They hold
// whole numbers or halves, which doubles hold exactly, so the catalogues can
// compare them for equality.
#ifndef MAISON_MODEL_PARAMETERS_H
#define MAISON_MODEL_PARAMETERS_H

#include <span>
#include <string_view>

#include "model/house_state.h"

namespace maison {

// Walls
inline double& wall_type = house.wall_type;                                  // 1 to 5, material
inline double& wall_thickness = house.wall_thickness;                        // 1 to 3, level
inline double& wall_insulation = house.wall_insulation;                      // 1 "sans" to 5
inline double& wall_insulation_thickness = house.wall_insulation_thickness;  // 0 (none chosen) to 3
inline double& wall_render = house.wall_render;                      // 1 "sans", 2 "enduit chaux"
inline double& wall_render_thickness = house.wall_render_thickness;  // 0 (none chosen) to 2
// Windows
inline double& glazing_type = house.glazing_type;  // 1 simple, 2 double, 3 triple
inline double& glazing_gap = house.glazing_gap;    // 4, 8, 12 or 16 mm
inline double& window_count = house.window_count;  // 1 to 3
// Floor
inline double& floor_type = house.floor_type;              // 1 to 4
inline double& floor_thickness = house.floor_thickness;    // 1 to 3
inline double& floor_insulation = house.floor_insulation;  // 1 "sans" to 5
inline double& floor_insulation_thickness =
    house.floor_insulation_thickness;  // 0 (none chosen) to 3
// Ceiling
inline double& ceiling_type = house.ceiling_type;
inline double& ceiling_thickness = house.ceiling_thickness;
inline double& ceiling_insulation = house.ceiling_insulation;
inline double& ceiling_insulation_thickness = house.ceiling_insulation_thickness;
// Crawl space
inline double& crawlspace_type = house.crawlspace_type;  // 1 ouvert, 2 ventile, 3 ferme
// Ventilation
inline double& ventilation_type = house.ventilation_type;  // 1 to 3
inline double& air_change_rate = house.air_change_rate;    // 0.5, 1.0 or 1.5 per hour
// Temperature
inline double& indoor_temperature =
    house.indoor_temperature;  // 16 to 22 degrees Celsius, in steps of 2
// Location
inline double& region = house.region;                // 1 to 3
inline double& altitude_band = house.altitude_band;  // 1 or 2

// Gives every parameter its start value, except the four dependent thickness
// levels, which start at 0 (no thickness chosen).
void set_parameter_start_values();

// Every stepper row of every panel, in the order step_parameters visits them.
std::span<const KvrHouseStepper> stepper_table();

// The label of a ventilation system ("simple flux", "double flux",
// "double HR  "), empty for a type that has none.
std::string_view ventilation_label(double ventilation_type);

// The frame step: the open panel's arrows move its parameters by one step,
// within their gates; the Ventilation and Temperature panels write their texts.
void step_parameters();

}  // namespace maison

#endif
