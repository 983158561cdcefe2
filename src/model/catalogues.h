// The catalogues: the open panel's choices become labels in A1 to A6,
// envelope coefficients and scene switches. Each block runs every frame
// while its panel is open, whether or not a parameter moved.
#ifndef MAISON_MODEL_CATALOGUES_H
#define MAISON_MODEL_CATALOGUES_H

namespace maison {

// The frame step: walls, windows, floor, ceiling, crawl space, location.
void apply_catalogues();

void apply_wall_catalogue();
void apply_windows_catalogue();
void apply_floor_catalogue();
void apply_ceiling_catalogue();
void apply_crawlspace_catalogue();
void apply_location_catalogue();

}  // namespace maison

#endif
