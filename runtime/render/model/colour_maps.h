// The colour map of the palette for every eye, and reading a colour's place
// on the scene's own temperature ramp, so that the camera's colours can be
// shown in it.
#ifndef KVR_RENDER_COLOUR_MAPS_H
#define KVR_RENDER_COLOUR_MAPS_H

#include <array>
#include <cstddef>

#include "model/element_model.h"

namespace kvr::render {

// Cividis at t from 0 (dark blue) to 1 (yellow): lightness grows evenly
// along it, and readers with red-green colour blindness see it as others
// do.
Rgba cividis(double t);

// How many points of cividis a gradient is drawn through.
inline constexpr int kCividisStops = 17;
// The table's point i of kCividisStops, and where it lies (0 to 1).
Rgba cividis_stop(int i, double& at);

// Where `colour` lies along the ramp through `count` stops (red, green,
// blue 0 to 1, evenly spaced from 0 to 1): the place of the nearest point
// of the ramp. 0 with fewer than two stops.
double ramp_position(const std::array<double, 3>* stops, std::size_t count, const Rgba& colour);

}  // namespace kvr::render

#endif
