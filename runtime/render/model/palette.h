// The runtime's own colours: text inks and the looks of buttons in their
// states. Elements may override them with their own paints.
#ifndef KVR_RENDER_PALETTE_H
#define KVR_RENDER_PALETTE_H

#include <cairo.h>

#include "model/element_model.h"

namespace kvr::render {

struct Look {
  Rgba text{0.13, 0.15, 0.18, 1.0};
  Rgba muted{0.42, 0.45, 0.50, 1.0};
  Rgba button{0.86, 0.90, 0.95, 1.0};
  Rgba button_hover{0.93, 0.96, 0.99, 1.0};
  Rgba button_pressed{0.70, 0.79, 0.90, 1.0};
  Rgba button_edge{0.24, 0.36, 0.52, 1.0};
  Rgba accent{0.16, 0.42, 0.72, 1.0};
  Rgba accent_hover{0.22, 0.50, 0.82, 1.0};
  Rgba accent_pressed{0.10, 0.30, 0.55, 1.0};
  Rgba danger{0.97, 0.84, 0.83, 1.0};
  Rgba danger_hover{0.98, 0.90, 0.89, 1.0};
  Rgba danger_pressed{0.90, 0.62, 0.60, 1.0};
  Rgba danger_edge{0.62, 0.18, 0.16, 1.0};
  Rgba disabled{0.90, 0.90, 0.90, 1.0};
  Rgba disabled_text{0.62, 0.62, 0.62, 1.0};
  Rgba focus_ring{0.90, 0.45, 0.04, 1.0};  // amber: apart from every button colour
  Rgba better{0.15, 0.52, 0.27, 1.0};
  Rgba worse{0.75, 0.20, 0.16, 1.0};
  Rgba reference{0.45, 0.48, 0.54, 1.0};  // pinned values and ghost bars
};

inline constexpr Look kLook{};

// The keyboard's focus ring: a stroke this wide centred one unit outside
// the button's box.
inline constexpr double kFocusRingWidth = 2.0;

inline void set_rgba(cairo_t* cr, const Rgba& c) {
  cairo_set_source_rgba(cr, c.r, c.g, c.b, c.a);
}

}  // namespace kvr::render

#endif
