#ifndef MAISON_STARTUP_FRAME_LOOP_H
#define MAISON_STARTUP_FRAME_LOOP_H

namespace maison {

// One frame: the ten program steps in order, then "HOME" twice. A non-zero
// result of the second "HOME" asks the program to end.
void run_frame();

// Frames until quit_requested is set. It is tested only at the end of a
// frame, so the frame that sets it always runs to its end.
void run_frame_loop();

}  // namespace maison

#endif
