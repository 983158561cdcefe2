#include "startup/main_procedure.h"

#include "house/house_physics.h"
#include "kvrrun.h"
#include "platform/win_platform.h"
#include "startup/configuration_copy.h"
#include "startup/frame_loop.h"
#include "startup/initial_values.h"
#include "startup/launch_code.h"
#include "startup/scene_bindings.h"

namespace maison {

int WinMain(std::int32_t launch_code) {
  decode_launch_code(launch_code);
  choose_configuration();
  KvBegin(0);
  KvLoad("HOME.SP1");
  bind_scene_variables();
  KvHouse(&house_view());
  set_initial_values();
  KvExec("INHOME");
  run_frame_loop();
  hand_over();
  return 0;
}

void hand_over() {
  build_return_launch_code();
  SetCurrentDirectoryA("..");
  // The menu program is started before the runtime stops.
  WinExec("onglets.exe", static_cast<std::uint32_t>(return_launch_code));
  KvEnd();
}

}  // namespace maison
