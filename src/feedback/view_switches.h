// The result view switches that follow the six view toggles.
#ifndef MAISON_FEEDBACK_VIEW_SWITCHES_H
#define MAISON_FEEDBACK_VIEW_SWITCHES_H

namespace maison {

// The last program step of a frame. The surface temperature view needs the
// camera view: while it is on, the camera view is forced on, and switching
// it off switches the camera view off once. TALREST remembers whether it
// was on in the previous frame.
void update_view_switches();

}  // namespace maison

#endif
