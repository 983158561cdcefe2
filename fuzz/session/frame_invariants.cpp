#include "frame_invariants.h"

#include <cmath>
#include <cstdint>
#include <initializer_list>
#include <span>
#include <sstream>
#include <vector>

#include "feedback/surface_colours.h"
#include "input/modal_views.h"
#include "input/panels.h"
#include "model/coefficients.h"
#include "model/insulation_materials.h"
#include "model/parameters.h"
#include "startup/scene_bindings.h"
#include "startup/scene_variables.h"
#include "thermal/heat_loss_model.h"

namespace maison::fuzzing {
namespace {

struct Parameter {
  const char* name;
  const double* value;
  std::vector<double> values;
};

std::vector<double> whole(double first, double last) {
  std::vector<double> values;
  for (double v = first; v <= last; v += 1) values.push_back(v);
  return values;
}

// "sans" and the insulation materials of the catalogue.
std::vector<double> insulation_options() {
  std::vector<double> values{no_insulation};
  for (const InsulationMaterial& material : insulation_materials) values.push_back(material.option);
  return values;
}

// No thickness chosen, then the catalogue's levels.
std::vector<double> insulation_levels_or_none() {
  std::vector<double> values{0};
  for (const InsulationLevel& level : insulation_levels) values.push_back(level.level);
  return values;
}

// Every value each parameter may hold. The option counts are those of the
// catalogues; the insulation options and levels come from the shared table.
const std::vector<Parameter>& parameters() {
  static const std::vector<Parameter> table = {
      // name, parameter, values
      {"wall_type", &wall_type, whole(1, 5)},
      {"wall_thickness", &wall_thickness, whole(1, 3)},
      {"wall_insulation", &wall_insulation, insulation_options()},
      {"wall_insulation_thickness", &wall_insulation_thickness, insulation_levels_or_none()},
      {"wall_render", &wall_render, whole(1, 2)},
      {"wall_render_thickness", &wall_render_thickness, whole(0, 2)},
      {"glazing_type", &glazing_type, whole(1, 3)},
      {"glazing_gap", &glazing_gap, {4, 8, 12, 16}},
      {"window_count", &window_count, whole(1, 3)},
      {"floor_type", &floor_type, whole(1, 4)},
      {"floor_thickness", &floor_thickness, whole(1, 3)},
      {"floor_insulation", &floor_insulation, insulation_options()},
      {"floor_insulation_thickness", &floor_insulation_thickness, insulation_levels_or_none()},
      {"ceiling_type", &ceiling_type, whole(1, 4)},
      {"ceiling_thickness", &ceiling_thickness, whole(1, 3)},
      {"ceiling_insulation", &ceiling_insulation, insulation_options()},
      {"ceiling_insulation_thickness", &ceiling_insulation_thickness, insulation_levels_or_none()},
      {"crawlspace_type", &crawlspace_type, whole(1, 3)},
      {"ventilation_type", &ventilation_type, whole(1, 3)},
      {"air_change_rate", &air_change_rate, {0.5, 1.0, 1.5}},
      {"indoor_temperature", &indoor_temperature, {16, 18, 20, 22}},
      {"region", &region, whole(1, 3)},
      {"altitude_band", &altitude_band, whole(1, 2)},
  };
  return table;
}

struct Result {
  const char* name;
  const double* value;
};

constexpr Result results[] = {
    {"wall_resistance", &wall_resistance},
    {"floor_resistance", &floor_resistance},
    {"ceiling_resistance", &ceiling_resistance},
    {"wall_u", &wall_u},
    {"floor_u", &floor_u},
    {"ceiling_u", &ceiling_u},
    {"door_u", &door_u},
    {"window_u", &window_u},
    {"window_area", &window_area},
    {"wall_area", &wall_area},
    {"floor_factor", &floor_factor},
    {"ceiling_factor", &ceiling_factor},
    {"wall_loss_coefficient", &wall_loss_coefficient},
    {"window_loss_coefficient", &window_loss_coefficient},
    {"door_loss_coefficient", &door_loss_coefficient},
    {"floor_loss_coefficient", &floor_loss_coefficient},
    {"ceiling_loss_coefficient", &ceiling_loss_coefficient},
    {"ventilation_loss_coefficient", &ventilation_loss_coefficient},
    {"total_loss_coefficient", &total_loss_coefficient},
    {"temperature_difference", &temperature_difference},
    {"wall_loss", &wall_loss},
    {"window_loss", &window_loss},
    {"door_loss", &door_loss},
    {"floor_loss", &floor_loss},
    {"ceiling_loss", &ceiling_loss},
    {"ventilation_loss", &ventilation_loss},
    {"total_loss", &total_loss},
    {"wall_loss_share", &wall_loss_share},
    {"window_loss_share", &window_loss_share},
    {"door_loss_share", &door_loss_share},
    {"floor_loss_share", &floor_loss_share},
    {"ceiling_loss_share", &ceiling_loss_share},
    {"ventilation_loss_share", &ventilation_loss_share},
    {"annual_need", &annual_need},
    {"need_per_m2", &need_per_m2},
    {"wall_surface_temperature", &wall_surface_temperature},
    {"floor_surface_temperature", &floor_surface_temperature},
    {"ceiling_surface_temperature", &ceiling_surface_temperature},
    {"door_surface_temperature", &door_surface_temperature},
    {"window_surface_temperature", &window_surface_temperature},
};

// Each panel and the switch that shows it.
constexpr std::pair<Panel, const DisplaySwitch*> panel_switches[] = {
    {Panel::walls, &TALMUR},        {Panel::floor, &TALPLAN},   {Panel::ceiling, &TALPLAF},
    {Panel::crawlspace, &TALSSOL},  {Panel::windows, &TALFEN},  {Panel::ventilation, &TALVMC},
    {Panel::temperature, &TALTEMP}, {Panel::location, &TALLOC},
};

// Each view toggle and the indicator of its menu row: 3 while it is 0, 4 while 1.
constexpr std::pair<const std::int16_t*, const std::int32_t*> view_rows[] = {
    {&resk_toggle, &colvis0},  {&resd_toggle, &colvis1},   {&resw_toggle, &colvis2},
    {&resan_toggle, &colvis3}, {&camera_toggle, &colvis4}, {&rest_toggle, &colvis5},
};

constexpr std::size_t longest_text = 16;  // "beton cellulaire"

// Keeps the first broken rule of a frame.
class Checker {
 public:
  const std::string& broken() const { return broken_; }

  template <class... T>
  void fail(const T&... parts) {
    if (!broken_.empty()) return;
    std::ostringstream message;
    (message << ... << parts);
    broken_ = message.str();
  }

 private:
  std::string broken_;
};

void check_parameters(Checker& check) {
  for (const Parameter& p : parameters()) {
    bool listed = false;
    for (double v : p.values) listed = listed || *p.value == v;
    if (!listed) {
      check.fail("parameter outside its table: ", p.name, " = ", *p.value);
      return;
    }
  }
}

void check_records(Checker& check) {
  for (const SceneBinding& b : scene_bindings()) {
    switch (b.kind) {
      case RecordKind::linked_text: {
        const auto& text = *static_cast<const LinkedText*>(b.record);
        if (text.length > longest_text) {
          check.fail("text longer than ", longest_text, " characters: ", b.object, ".", b.variable,
                     " has ", static_cast<int>(text.length));
        } else if (text.characters[text.length] != '\0') {
          check.fail("text without its zero byte after its characters: ", b.object, ".", b.variable,
                     " (length ", static_cast<int>(text.length), ")");
        }
        break;
      }
      case RecordKind::display_switch: {
        const auto& s = *static_cast<const DisplaySwitch*>(b.record);
        if (s.second != 1.0f) {
          check.fail("switch whose second float is not 1.0: ", b.object, ".", b.variable, " = ",
                     s.second);
        }
        break;
      }
      case RecordKind::colour_triple: {
        const auto& c = *static_cast<const ColourTriple*>(b.record);
        for (std::int16_t component : {c.red, c.green, c.blue}) {
          if (component < 0 || component > 255) {
            check.fail("colour component outside 0..255: ", b.object, ".", b.variable, " = [",
                       c.red, ", ", c.green, ", ", c.blue, "]");
          }
        }
        break;
      }
      case RecordKind::int32:
      case RecordKind::talnum_area:
        break;
    }
  }
}

void check_panels(Checker& check) {
  int open = 0;
  for (std::size_t i = 0; i < panel_count; ++i) {
    if (active_panel[i] > 1) check.fail("panel flag neither 0 nor 1: panel ", i);
    open += active_panel[i] == 1 ? 1 : 0;
  }
  if (open > 1) check.fail("more than one panel flag set: ", open);
  for (const auto& [panel, shown] : panel_switches) {
    const float expected = panel_open(panel) ? 1.0f : 0.0f;
    if (shown->shown != expected) {
      check.fail("panel switch disagrees with its flag: panel ", index_of(panel), " flag ",
                 static_cast<int>(active_panel[index_of(panel)]), ", switch ", shown->shown);
    }
  }
}

void check_views(Checker& check) {
  for (const auto& [toggle, indicator] : view_rows) {
    if (*toggle != 0 && *toggle != 1) check.fail("view toggle neither 0 nor 1: ", *toggle);
    if (*indicator != 3 + *toggle) {
      check.fail("view indicator disagrees with its toggle: toggle ", *toggle, ", indicator ",
                 *indicator);
    }
  }
  if (colvis6 != 3) check.fail("colvis6 moved: ", colvis6);
  if (TALFENT.shown != static_cast<float>(window_count)) {
    check.fail("TALFENT does not show the window count: ", TALFENT.shown, " for ", window_count);
  }
}

void check_results(Checker& check) {
  if (KLASS.length != 1 || KLASS.characters[0] < 'A' || KLASS.characters[0] > 'G') {
    check.fail("class letter not one of A to G: length ", static_cast<int>(KLASS.length),
               ", first byte ", static_cast<int>(KLASS.characters[0]));
  }
  for (const Result& r : results) {
    if (!std::isfinite(*r.value)) check.fail("result not finite: ", r.name, " = ", *r.value);
  }
}

}  // namespace

std::string broken_invariant() {
  Checker check;
  check_parameters(check);
  check_records(check);
  check_panels(check);
  check_views(check);
  check_results(check);
  return check.broken();
}

}  // namespace maison::fuzzing
