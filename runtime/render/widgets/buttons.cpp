#include "widgets/buttons.h"

#include <algorithm>

#include "model/geometry.h"
#include "model/palette.h"
#include "text/text.h"
#include "values/frame_values.h"
#include "values/records.h"

namespace kvr::render {

void draw_button(const DrawContext& dc, const Node& n) {
  cairo_t* cr = dc.cr;
  ButtonLook look = button_look(dc, n);
  double r = n.radius > 0.0 ? n.radius : 3.0;
  // The outline as the ring between two rounded boxes: two fills cost
  // less than a stroke of the rounded path and cover the same pixels.
  double half = (look.hover ? 1.6 : 1.0) / 2.0;
  double inset = 0.5;
  rounded_path(cr, n.x1 + inset - half, n.y1 + inset - half, n.x2 - inset + half,
               n.y2 - inset + half, r + half);
  set_rgba(cr, look.edge);
  cairo_fill(cr);
  rounded_path(cr, n.x1 + inset + half, n.y1 + inset + half, n.x2 - inset - half,
               n.y2 - inset - half, std::max(0.0, r - half));
  set_rgba(cr, look.face);
  cairo_fill(cr);
  const std::string& caption = dc.values->of(n, dc.view).line(0);
  double shift = look.pressed ? -1.0 : 0.0;
  draw_text(cr, dc.fonts, caption, (n.x1 + n.x2) / 2.0,
            centred_baseline((n.y1 + n.y2) / 2.0, n.size) + shift, n.size, n.bold, Align::Center,
            look.ink, n.x2 - n.x1 - 4.0);
  if (wears_focus_ring(dc, n)) {
    // The ring hugs the button just outside its edge (ink_bounds.cpp holds
    // it), so that no layer region around a button cuts it.
    rounded_path(cr, n.x1 - 1.0, n.y1 - 1.0, n.x2 + 1.0, n.y2 + 1.0, r + 1.0);
    set_rgba(cr, kLook.focus_ring);
    cairo_set_line_width(cr, kFocusRingWidth);
    cairo_stroke(cr);
  }
}

}  // namespace kvr::render
