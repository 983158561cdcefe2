// What a drawn element covers, in layout units: worked out once when the
// scene is compiled, or for a text that shows bound records, each frame
// from its laid-out width. A frame drawn by its changes redraws only there.
#ifndef KVR_RENDER_INK_BOUNDS_H
#define KVR_RENDER_INK_BOUNDS_H

#include "backend.h"
#include "model/element_model.h"
#include "text/text.h"
#include "values/frame_values.h"

namespace kvr::render {

// Sets n.ink and n.ink_varies for a drawn element (not a group).
void compile_ink(Node& n, const Fonts& fonts);

// The element's ink in this frame (`values`: what it shows), before any
// slide of its groups.
Box ink_of(const Node& n, const ElementValues& values, const Fonts& fonts);

}  // namespace kvr::render

#endif
