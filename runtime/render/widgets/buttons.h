// Drawing a button in its state (values/button_state.h), with the
// keyboard's focus ring.
#ifndef KVR_RENDER_BUTTONS_H
#define KVR_RENDER_BUTTONS_H

#include "model/draw_context.h"
#include "model/element_model.h"
#include "values/button_state.h"

namespace kvr::render {

void draw_button(const DrawContext& dc, const Node& n);

}  // namespace kvr::render

#endif
