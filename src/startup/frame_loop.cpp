#include "startup/frame_loop.h"

#include "feedback/surface_colours.h"
#include "feedback/view_switches.h"
#include "feedback/wall_appearance.h"
#include "input/control_layout.h"
#include "input/modal_views.h"
#include "input/panels.h"
#include "kvrrun.h"
#include "model/catalogues.h"
#include "model/parameters.h"
#include "startup/launch_code.h"
#include "thermal/heat_loss_model.h"
#include "thermal/result_fields.h"

namespace maison {

void run_frame() {
  read_controls();
  run_modal_views();
  select_panel();
  step_parameters();
  apply_catalogues();
  update_wall_appearance();
  compute_heat_losses();
  colour_surfaces();
  write_result_fields();
  update_view_switches();
  KvExec("HOME");
  if (KvExec("HOME") != 0) quit_requested = 1;
}

void run_frame_loop() {
  do {
    run_frame();
  } while (quit_requested != 1);
}

}  // namespace maison
