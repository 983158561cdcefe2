#ifndef MAISON_STARTUP_MAIN_PROCEDURE_H
#define MAISON_STARTUP_MAIN_PROCEDURE_H

#include <cstdint>

namespace maison {

// The whole run: decode the launch code, choose the configuration, start the
// runtime, load and bind the scene, set the start values, play "INHOME",
// run the frames, then hand over to the menu program. Returns 0.
int WinMain(std::int32_t launch_code);

// The exit: change to "..", start "onglets.exe" there with the return code,
// then stop the runtime. Nothing here is examined or retried.
void hand_over();

}  // namespace maison

#endif
