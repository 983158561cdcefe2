#include "layout/ink_bounds.h"

#include <algorithm>

#include "model/palette.h"
#include "values/class_bands.h"
#include "values/frame_values.h"
#include "values/records.h"

namespace kvr::render {

namespace {

bool all_literal(const std::vector<TextPart>& parts) {
  return std::all_of(parts.begin(), parts.end(), [](const TextPart& p) { return p.var < 0; });
}

Box shape_ink(const Node& n) {
  double half = n.stroke.set ? n.line_width / 2.0 : 0.0;
  if (n.kind == Kind::Polyline) half = n.line_width / 2.0;
  if (n.hatch.set) half = std::max(half, n.hatch.line_width / 2.0);
  Box b;
  switch (n.kind) {
    case Kind::Rect:
      b.add(n.x1, n.y1, half);
      b.add(n.x2, n.y2, half);
      break;
    case Kind::Circle:
      b.add(n.label_at.x, n.label_at.y, n.radius + half);
      break;
    default:
      for (const Point& p : n.points) b.add(p.x, p.y, half);
      break;
  }
  return b;
}

Box text_ink(const Node& n, const std::string& text, const Fonts& fonts) {
  return text_box(fonts, text, n.label_at.x, n.label_at.y, n.size, n.bold, n.align, n.max_width);
}

// `label(i)`: the label of stop i as shown.
template <class Label>
Box legend_ink(const Node& n, const Fonts& fonts, Label label_of) {
  Box b;
  b.add(n.x1, n.y1, 0.5);
  b.add(n.x2 + 4.5, n.y2, 0.5);
  for (std::size_t i = 0; i < n.stops.size(); ++i) {
    const Stop& s = n.stops[i];
    const std::string& label = label_of(i);
    if (label.empty()) continue;
    double y = n.y1 + (n.y2 - n.y1) * s.at;
    b.add(text_box(fonts, label + n.unit, n.x2 + 6.0, centred_baseline(y, n.size), n.size, false,
                   Align::Left, 0.0));
  }
  return b;
}

}  // namespace

void compile_ink(Node& n, const Fonts& fonts) {
  Box& b = n.ink;
  b = {};
  n.ink_varies = false;
  switch (n.kind) {
    case Kind::Group:
      return;
    case Kind::Rect:
    case Kind::Polygon:
    case Kind::Polyline:
    case Kind::Circle:
      b = shape_ink(n);
      return;
    case Kind::Text:
      if (all_literal(n.text)) {
        std::string text;
        for (const TextPart& p : n.text) text += p.literal;
        b = text_ink(n, text, fonts);
      } else {
        n.ink_varies = true;
      }
      return;
    case Kind::Paragraph:
      for (const Line& line : n.lines)
        b.add(text_box(fonts, line.text, line.x, line.y, line.size, line.bold, Align::Left, 0.0));
      return;
    case Kind::Button: {
      // The caption is fitted inside; the outline reaches half a unit out,
      // the focus ring of a button that can take it a stroke beyond that.
      double out = n.focus >= 0 ? 1.0 + kFocusRingWidth / 2.0 : 1.0;
      b.add(n.x1, n.y1, out);
      b.add(n.x2, n.y2, out);
      return;
    }
    case Kind::Table:
    case Kind::SceneRegion:
    case Kind::HouseView:
      // Cells and their second lines are fitted inside; the outline reaches
      // half a unit out. A scene region is cut to its box.
      b.add(n.x1, n.y1, 1.0);
      b.add(n.x2, n.y2, 1.0);
      return;
    case Kind::Comparison:
    case Kind::ClassDistance:
      n.ink_varies = true;
      return;
    case Kind::SurfaceMarks:
      // A triangle of side `size` around each point, and its outlines.
      for (const SurfaceMark& m : n.marks) b.add(m.at.x, m.at.y, n.size * 0.6 + 2.5);
      return;
    case Kind::BarChart:
      // Value texts stay under the top of the box, labels over its bottom.
      b.add(n.x1, n.y1, 0.25 * n.size);
      b.add(n.x2, n.y2, 0.25 * n.size);
      return;
    case Kind::GradientLegend:
      if (std::all_of(n.stops.begin(), n.stops.end(),
                      [](const Stop& s) { return s.label.var < 0; }))
        b = legend_ink(n, fonts, [&](std::size_t i) -> const std::string& {
          return n.stops[i].label.literal;
        });
      else
        n.ink_varies = true;
      return;
    case Kind::ClassScale: {
      // The tag of the top letter rises a little above the box; the note
      // is written under it, at most as wide as the box.
      double step = n.letters.empty() ? 0.0 : (n.y2 - n.y1) / static_cast<double>(n.letters.size());
      b = {n.x1 - 0.3 * n.size, n.y1 - 1.8 * n.size, n.x2 + 0.3 * n.size, n.y2 + 0.15 * step + 1.0};
      return;
    }
    case Kind::SiteMarker: {
      Point at = n.points.empty() ? Point{} : n.points.front();
      b.add(at.x, at.y, 6.0);
      std::string label;
      for (const TextPart& p : n.text) label += p.literal;
      b.add(text_box(fonts, label, n.label_at.x, n.label_at.y, n.size, true, Align::Left, 0.0));
      b.add(text_box(fonts, n.detail, n.label_at.x, n.label_at.y - n.size * 1.3, n.size, false,
                     Align::Left, 0.0));
      return;
    }
  }
}

Box ink_of(const Node& n, const ElementValues& values, const Fonts& fonts) {
  if (!n.ink_varies) return n.ink;
  switch (n.kind) {
    case Kind::Text:
    case Kind::Comparison:
      return text_ink(n, values.line(0), fonts);
    case Kind::GradientLegend:
      return legend_ink(n, fonts,
                        [&](std::size_t i) -> const std::string& { return values.line(i); });
    case Kind::ClassDistance: {
      Box b;
      for (std::size_t i = 0; i < values.count; ++i)
        b.add(text_box(fonts, values.line(i), n.label_at.x, class_distance_baseline(n, i), n.size,
                       n.bold, n.align, n.max_width));
      return b;
    }
    default:
      return n.ink;
  }
}

}  // namespace kvr::render
