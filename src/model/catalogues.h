// The catalogues: the open panel's choices become labels in A1 to A6,
// envelope coefficients and scene switches. Each block runs every frame
// while its panel is open, whether or not a parameter moved.
#ifndef MAISON_MODEL_CATALOGUES_H
#define MAISON_MODEL_CATALOGUES_H

#include "model/house_state.h"
#include "model/panel_output.h"

namespace maison {

// The frame step: walls, windows, floor, ceiling, crawl space, location.
void apply_catalogues();

// The blocks on the program's house, into the scene's records.
void apply_wall_catalogue();
void apply_windows_catalogue();
void apply_floor_catalogue();
void apply_ceiling_catalogue();
void apply_crawlspace_catalogue();
void apply_location_catalogue();

// The same blocks on any state: its parameters become its coefficients
// (and the two resets and the forced gap of the parameters), and the texts
// and switches go to `out`. They read and write nothing else.
void apply_wall_catalogue(KvrHouseState& state, PanelOutput& out);
void apply_windows_catalogue(KvrHouseState& state, PanelOutput& out);
void apply_floor_catalogue(KvrHouseState& state, PanelOutput& out);
void apply_ceiling_catalogue(KvrHouseState& state, PanelOutput& out);
void apply_crawlspace_catalogue(KvrHouseState& state, PanelOutput& out);
void apply_location_catalogue(KvrHouseState& state, PanelOutput& out);

// Every block in the frame's order, as if each panel were open.
void apply_every_catalogue(KvrHouseState& state, PanelOutput& out);

}  // namespace maison

#endif
