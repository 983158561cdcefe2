#include "model/catalogues.h"

#include "input/panels.h"

namespace maison {

void apply_catalogues() {
  if (panel_open(Panel::walls)) apply_wall_catalogue();
  if (panel_open(Panel::windows)) apply_windows_catalogue();
  if (panel_open(Panel::floor)) apply_floor_catalogue();
  if (panel_open(Panel::ceiling)) apply_ceiling_catalogue();
  if (panel_open(Panel::crawlspace)) apply_crawlspace_catalogue();
  if (panel_open(Panel::location)) apply_location_catalogue();
}

}  // namespace maison
