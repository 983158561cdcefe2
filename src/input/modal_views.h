// The launch-code quit test and the two modal views: the intro choice and
// the results-view menu. Both hold up the frame until their input ends them.
#ifndef MAISON_INPUT_MODAL_VIEWS_H
#define MAISON_INPUT_MODAL_VIEWS_H

#include <cstdint>

namespace maison {

// The six view toggles of the results-view menu, 0 off or 1 on.
inline std::int16_t resk_toggle;
inline std::int16_t resd_toggle;
inline std::int16_t resw_toggle;
inline std::int16_t resan_toggle;
inline std::int16_t camera_toggle;
inline std::int16_t rest_toggle;

// The action the intro choice will play: "BANDO", "USE", "FONC", "REM" or "DECOR".
inline const char* intro_action;

void run_modal_views();

}  // namespace maison

#endif
