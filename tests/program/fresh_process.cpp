#include "fresh_process.h"

#include <cstring>

#include "feedback/surface_colours.h"
#include "feedback/wall_appearance.h"
#include "input/control_layout.h"
#include "input/modal_views.h"
#include "input/panels.h"
#include "input/pointer.h"
#include "model/coefficients.h"
#include "model/parameters.h"
#include "startup/launch_code.h"
#include "startup/scene_bindings.h"
#include "thermal/heat_loss_model.h"

namespace maison::testing {
namespace {

template <class... T>
void zero(T&... variables) {
  ((variables = T{}), ...);
}

}  // namespace

void start_afresh() {
  for (const SceneBinding& binding : scene_bindings()) {
    std::memset(binding.record, 0, record_size(binding.kind));
  }
  zero(launch_thousands, launch_hundreds, launch_tens, launch_units, quit_requested,
       return_launch_code);
  zero(pointer_x, pointer_y, pointer_buttons, intro_clicked, results_view_pressed);
  std::memset(active_panel, 0, sizeof active_panel);
  std::memset(panel_button_clicked, 0, sizeof panel_button_clicked);
  std::memset(minus_clicked, 0, sizeof minus_clicked);
  std::memset(plus_clicked, 0, sizeof plus_clicked);
  zero(resk_toggle, resd_toggle, resw_toggle, resan_toggle, camera_toggle, rest_toggle,
       intro_action);
  zero(wall_type, wall_thickness, wall_insulation, wall_insulation_thickness, wall_render,
       wall_render_thickness, glazing_type, glazing_gap, window_count, floor_type, floor_thickness,
       floor_insulation, floor_insulation_thickness, ceiling_type, ceiling_thickness,
       ceiling_insulation, ceiling_insulation_thickness, crawlspace_type, ventilation_type,
       air_change_rate, indoor_temperature, region, altitude_band);
  zero(wall_lambda, wall_depth, wall_insulation_lambda, wall_insulation_depth, wall_lining_depth,
       render_depth, floor_lambda, floor_depth, floor_insulation_lambda, floor_insulation_depth,
       ceiling_lambda, ceiling_depth, ceiling_insulation_lambda, ceiling_insulation_depth,
       ceiling_surface_resistance, window_u, crawlspace_resistance, outdoor_base_temperature,
       degree_days);
  zero(wall_resistance, floor_resistance, ceiling_resistance, wall_u, floor_u, ceiling_u, door_u,
       window_area, wall_area, floor_factor, ceiling_factor, wall_loss_coefficient,
       window_loss_coefficient, door_loss_coefficient, floor_loss_coefficient,
       ceiling_loss_coefficient, ventilation_loss_coefficient, total_loss_coefficient,
       temperature_difference, wall_loss, window_loss, door_loss, floor_loss, ceiling_loss,
       ventilation_loss, total_loss, wall_loss_share, window_loss_share, door_loss_share,
       floor_loss_share, ceiling_loss_share, ventilation_loss_share, annual_need, need_per_m2);
  zero(wall_surface_temperature, floor_surface_temperature, ceiling_surface_temperature,
       door_surface_temperature, window_surface_temperature, ramp_colour, normal_played,
       camera_played);
}

}  // namespace maison::testing
