#include "input/panels.h"

#include <iterator>

#include "input/control_layout.h"
#include "kvrrun.h"
#include "startup/linked_text.h"
#include "startup/scene_variables.h"

namespace maison {
namespace {

struct PanelSwitch {
  Panel panel;
  DisplaySwitch* shown_switch;
};

// In the order select_panel examines the menu buttons.
constexpr PanelSwitch panel_switches[] = {
    // panel, switch
    {Panel::walls, &TALMUR},        {Panel::floor, &TALPLAN},   {Panel::ceiling, &TALPLAF},
    {Panel::crawlspace, &TALSSOL},  {Panel::windows, &TALFEN},  {Panel::ventilation, &TALVMC},
    {Panel::temperature, &TALTEMP}, {Panel::location, &TALLOC},
};

static_assert(std::size(panel_switches) == panel_count);

constexpr LinkedText* panel_texts[] = {&A1, &A2, &A3, &A4, &A5, &A6};

}  // namespace

void reset_panels() {
  for (const PanelSwitch& entry : panel_switches) entry.shown_switch->shown = 0.0f;
  for (std::uint8_t& flag : active_panel) flag = 0;
  for (LinkedText* text : panel_texts) write_label(*text, " ");
}

void select_panel() {
  // Only one menu button reports per frame; were two set, the later one would stay open.
  for (const PanelSwitch& entry : panel_switches) {
    if (panel_button_clicked[index_of(entry.panel)] != 1) continue;
    reset_panels();
    active_panel[index_of(entry.panel)] = 1;
    entry.shown_switch->shown = 1.0f;
    KvExec("DECDROIT");
  }
}

}  // namespace maison
