#include "model/catalogues.h"

#include "input/panels.h"

namespace maison {

void apply_wall_catalogue() {
  apply_wall_catalogue(house, scene_output());
}
void apply_windows_catalogue() {
  apply_windows_catalogue(house, scene_output());
}
void apply_floor_catalogue() {
  apply_floor_catalogue(house, scene_output());
}
void apply_ceiling_catalogue() {
  apply_ceiling_catalogue(house, scene_output());
}
void apply_crawlspace_catalogue() {
  apply_crawlspace_catalogue(house, scene_output());
}
void apply_location_catalogue() {
  apply_location_catalogue(house, scene_output());
}

void apply_every_catalogue(KvrHouseState& state, PanelOutput& out) {
  apply_wall_catalogue(state, out);
  apply_windows_catalogue(state, out);
  apply_floor_catalogue(state, out);
  apply_ceiling_catalogue(state, out);
  apply_crawlspace_catalogue(state, out);
  apply_location_catalogue(state, out);
}

void apply_catalogues() {
  if (panel_open(Panel::walls)) apply_wall_catalogue();
  if (panel_open(Panel::windows)) apply_windows_catalogue();
  if (panel_open(Panel::floor)) apply_floor_catalogue();
  if (panel_open(Panel::ceiling)) apply_ceiling_catalogue();
  if (panel_open(Panel::crawlspace)) apply_crawlspace_catalogue();
  if (panel_open(Panel::location)) apply_location_catalogue();
}

}  // namespace maison
