#include "feedback/wall_appearance.h"

#include "input/modal_views.h"
#include "kvrrun.h"
#include "model/coefficients.h"
#include "model/parameters.h"
#include "startup/linked_text.h"
#include "startup/scene_variables.h"

namespace maison {
namespace {

constexpr double any_wall = 0;

struct WallColours {
  double wall_type;  // any_wall: whatever the material
  double wall_render;
  bool needs_render_depth;
  ColourTriple edge;    // MURBORD
  ColourTriple face;    // MURFOND
  ColourTriple shadow;  // MURSOMBR
};

// Log walls and timber frames have no colours of their own; neither has a
// render of no thickness: the previous colours stay.
constexpr WallColours wall_colours[] = {
    // wall_type, wall_render, render_depth not 0, MURBORD, MURFOND, MURSOMBR
    {1, 1, false, {240, 89, 84}, {201, 76, 71}, {178, 66, 62}},
    {2, 1, false, {187, 191, 191}, {139, 141, 141}, {54, 64, 47}},
    {5, 1, false, {230, 230, 210}, {205, 205, 185}, {150, 150, 130}},
    {any_wall, 2, true, {217, 205, 152}, {217, 205, 152}, {217, 205, 152}},
};

bool applies(const WallColours& row) {
  return (row.wall_type == any_wall || wall_type == row.wall_type) &&
         wall_render == row.wall_render && (!row.needs_render_depth || render_depth != 0.0);
}

}  // namespace

void update_wall_appearance() {
  for (const WallColours& row : wall_colours) {
    if (!applies(row)) continue;
    MURBORD = row.edge;
    MURFOND = row.face;
    MURSOMBR = row.shadow;
  }

  if (camera_toggle == 0 && normal_played == 0) {
    KvExec("NORMAL");
    normal_played = 1;
    camera_played = 0;
  }
  if (camera_toggle == 1 && camera_played == 0) {
    KvExec("CAMERA");
    camera_played = 1;
    normal_played = 0;
  }

  write_number(TEMPEXT, outdoor_base_temperature, format_3_1f);
  write_number(TEMPCINQ, outdoor_base_temperature + 5, format_3_1f);
  write_number(TEMPDIX, outdoor_base_temperature + 10, format_3_1f);
}

}  // namespace maison
