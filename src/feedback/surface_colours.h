// Surface temperatures of the five envelope elements and their colours in
// the camera view: blue at the outdoor temperature, red 5 K above it, yellow
// 10 K above it.
#ifndef MAISON_FEEDBACK_SURFACE_COLOURS_H
#define MAISON_FEEDBACK_SURFACE_COLOURS_H

#include "model/house_state.h"
#include "startup/linked_records.h"

namespace maison {

inline double& wall_surface_temperature = house.wall_surface_temperature;  // degrees Celsius
inline double& floor_surface_temperature = house.floor_surface_temperature;
inline double& ceiling_surface_temperature = house.ceiling_surface_temperature;
inline double& door_surface_temperature = house.door_surface_temperature;
inline double& window_surface_temperature = house.window_surface_temperature;

// The last colour the ramp produced; kept from call to call.
inline ColourTriple ramp_colour;

// Colours surface temperature t against outdoor temperature d and returns
// ramp_colour. A surface warmer than 2.0 is coloured as at 2.0; outside the
// ramp (at or below d, or more than 10 K above it) the previous colour stays.
ColourTriple temperature_colour(double t, double d);

// The five temperatures of any state, from its U-values, indoor and
// outdoor temperatures; writes nothing else.
void compute_surface_temperatures(KvrHouseState& state);

// The frame step: the five temperatures and COLMUR, COLPLAN, COLPLAF,
// COLPORTE, COLFEN.
void colour_surfaces();

}  // namespace maison

#endif
