// The two lines that read the pinned reference in words: the difference
// of a value from its pinned copy, and how far the need is from the next
// better class.
#include "model/palette.h"
#include "text/text.h"
#include "values/class_bands.h"
#include "values/frame_values.h"
#include "values/records.h"
#include "widgets/charts.h"

namespace kvr::render {

void draw_comparison(const DrawContext& dc, const Node& n) {
  const ElementValues& line = dc.values->of(n, dc.view);
  if (line.line(0).empty()) return;
  Rgba colour = line.verdict > 0   ? colour_or(dc.view, n.better, kLook.better)
                : line.verdict < 0 ? colour_or(dc.view, n.worse, kLook.worse)
                                   : colour_or(dc.view, n.colour, kLook.muted);
  draw_text(dc.cr, dc.fonts, line.line(0), n.label_at.x, n.label_at.y, n.size, n.bold, n.align,
            colour, n.max_width);
}

void draw_class_distance(const DrawContext& dc, const Node& n) {
  const ElementValues& lines = dc.values->of(n, dc.view);
  Rgba colour = colour_or(dc.view, n.colour, kLook.text);
  for (std::size_t i = 0; i < lines.count; ++i)
    draw_text(dc.cr, dc.fonts, lines.line(i), n.label_at.x, class_distance_baseline(n, i), n.size,
              n.bold, n.align, colour, n.max_width);
}

}  // namespace kvr::render
