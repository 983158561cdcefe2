// The wall colours of the normal view, the camera view actions and the
// outdoor temperature labels of the colour legend.
#ifndef MAISON_FEEDBACK_WALL_APPEARANCE_H
#define MAISON_FEEDBACK_WALL_APPEARANCE_H

#include <cstdint>

namespace maison {

// Each camera action is played once per change of camera_toggle.
inline std::uint8_t normal_played;  // "NORMAL" played since the toggle last became 0
inline std::uint8_t camera_played;  // "CAMERA" played since the toggle last became 1

void update_wall_appearance();

}  // namespace maison

#endif
