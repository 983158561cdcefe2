#include "feedback/view_switches.h"

#include <cstdint>

#include "input/modal_views.h"
#include "startup/scene_variables.h"

namespace maison {
namespace {

float shown_if_on(std::int16_t toggle) {
  return toggle == 1 ? 1.0f : 0.0f;
}

// A toggle holds 0 or 1; any other value leaves its switch as it was.
void follow(DisplaySwitch& view, std::int16_t toggle) {
  if (toggle == 1 || toggle == 0) view.shown = shown_if_on(toggle);
}

}  // namespace

void update_view_switches() {
  follow(TALRESK, resk_toggle);
  follow(TALRESD, resd_toggle);
  follow(TALRESW, resw_toggle);
  follow(TALRESAN, resan_toggle);
  if (resk_toggle == 1 || resd_toggle == 1 || resw_toggle == 1) {
    TALTAB.shown = 1.0f;
  } else if (resk_toggle == 0 && resd_toggle == 0 && resw_toggle == 0) {
    TALTAB.shown = 0.0f;
  }
  // Taken before the coupling below: a forced change reaches TALCAM a frame later.
  follow(TALCAM, camera_toggle);

  if (rest_toggle == 0 && TALREST.shown == 1.0f) {
    camera_toggle = 0;
    colvis4 = 3;
    TALREST.shown = 0.0f;
  } else if (rest_toggle == 1) {
    camera_toggle = 1;
    colvis4 = 4;
    TALREST.shown = 1.0f;
  }

  if (camera_toggle == 0) {
    TLTOISOL.shown = 1.0f;
  } else if (camera_toggle == 1) {
    TLTOISOL.shown = 0.0f;
  }
}

}  // namespace maison
