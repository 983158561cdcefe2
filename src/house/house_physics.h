// The program's physics as pure functions of a house state, and the view of
// the program's own house that start-up hands to the runtime (KvHouse). The
// functions are the frame's own catalogue blocks, heat-loss model and
// surface temperatures, run on the state they are given.
#ifndef MAISON_HOUSE_HOUSE_PHYSICS_H
#define MAISON_HOUSE_HOUSE_PHYSICS_H

#include "kvrhouse.h"

namespace maison {

// Every catalogue block in the frame's order (as if each panel were open),
// then the heat-loss model and the surface temperatures.
void evaluate_house(KvrHouseState& state);

// The texts A1 to A6 panel `panel` would show for `state` if it were open.
void house_panel_texts(const KvrHouseState& state, int panel, KvrHousePanelTexts& out);

// The table of the functions above for the runtime.
const KvrHousePhysics& house_physics();

// The program's house and its physics, valid for the whole run.
const KvrHouse& house_view();

}  // namespace maison

#endif
