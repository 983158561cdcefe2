// The scene's elements as the renderer keeps them after compiling: one Node
// per element, references already resolved to variable, flag and animation
// indices, so that drawing only reads records.
#ifndef KVR_RENDER_ELEMENT_MODEL_H
#define KVR_RENDER_ELEMENT_MODEL_H

#include <algorithm>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace kvr::render {

struct Rgba {
  double r = 0.0, g = 0.0, b = 0.0, a = 1.0;
};

// A fill or stroke: a literal colour or a bound colour record, optionally
// darkened (`shade` < 1) or made transparent.
struct Paint {
  bool set = false;
  Rgba rgba;
  int var = -1;
  double shade = 1.0;
  double alpha = 1.0;
};

// One piece of a text: a literal or a bound text record.
struct TextPart {
  std::string literal;
  int var = -1;
};

struct Cond {
  enum class Op : std::uint8_t { True, On, AtLeast, Equals, Flag, Not, All, Any };
  Op op = Op::True;
  int var = -1;
  int flag = -1;
  double number = 0.0;
  std::string text;
  bool text_compare = false;
  std::vector<Cond> subs;
};

enum class Kind : std::uint8_t {
  Group,
  Rect,
  Polygon,
  Polyline,
  Circle,
  Text,
  Paragraph,
  Button,
  BarChart,
  GradientLegend,
  ClassScale,
  SiteMarker,
  Table,
};

enum class Align : std::uint8_t { Left, Center, Right };
enum class ButtonStyle : std::uint8_t { Normal, Accent, Danger, Disabled, Inert };

struct Point {
  double x = 0.0, y = 0.0;
};

// An axis-aligned box in layout units; empty until something is added.
struct Box {
  double x1 = 0.0, y1 = 0.0, x2 = -1.0, y2 = -1.0;

  bool empty() const { return x2 < x1 || y2 < y1; }
  // Grows the box to hold the point and `margin` around it.
  void add(double x, double y, double margin = 0.0) {
    if (empty()) {
      *this = {x - margin, y - margin, x + margin, y + margin};
      return;
    }
    x1 = std::min(x1, x - margin);
    y1 = std::min(y1, y - margin);
    x2 = std::max(x2, x + margin);
    y2 = std::max(y2, y + margin);
  }
  void add(const Box& b) {
    if (b.empty()) return;
    add(b.x1, b.y1);
    add(b.x2, b.y2);
  }
  Box moved(double dx, double dy) const {
    if (empty()) return *this;
    return {x1 + dx, y1 + dy, x2 + dx, y2 + dy};
  }
};

// Masonry courses or stacked logs drawn inside a shape: lines every
// `spacing` units following `slope`, with staggered joints every `joints`.
struct Hatch {
  bool set = false;
  double spacing = 8.0;
  double slope = 0.0;
  double joints = 0.0;
  Point origin;
  Paint colour;
  double line_width = 0.8;
  // Line segments worked out once at compile time, already cut to a convex
  // shape; a shape that is not convex is clipped when drawn instead. The
  // horizontal and vertical ones come first: `rectilinear` of them.
  std::vector<std::pair<Point, Point>> segments;
  std::size_t rectilinear = 0;
  bool needs_clip = false;
};

// One wrapped line of a paragraph.
struct Line {
  std::string text;
  double y = 0.0;  // baseline, layout units
  double x = 0.0;
  double size = 12.0;
  bool bold = false;
};

struct Bar {
  std::string label;
  TextPart value;
  Paint colour;
};

struct Stop {
  double at = 0.0;
  Rgba colour;
  TextPart label;
};

struct TableRow {
  std::string caption;
  std::vector<std::vector<TextPart>> cells;  // each cell: literal and bound parts
  Cond highlight;
  bool has_highlight = false;
};

// A group drawn only inside its region (whole device pixels), except while
// one of its animations runs.
struct LayerSpec {
  bool set = false;
  double x1 = 0.0, y1 = 0.0, x2 = 0.0, y2 = 0.0;  // region, layout units
  std::vector<int> anims;                         // of the group and its subtree
};

struct Node {
  Kind kind = Kind::Group;
  std::string id;
  Cond visible;
  bool has_visible = false;

  // Shapes.
  double x1 = 0.0, y1 = 0.0, x2 = 0.0, y2 = 0.0;  // box, layout units
  std::vector<Point> points;
  Paint fill, stroke;
  double line_width = 1.0;
  double radius = 0.0;
  std::vector<double> dash;
  Hatch hatch;

  // Texts.
  std::vector<TextPart> text;
  double size = 12.0;
  bool bold = false;
  Align align = Align::Left;
  double max_width = 0.0;
  Paint colour;
  std::vector<Line> lines;  // paragraph, wrapped once at compile time
  ButtonStyle style = ButtonStyle::Normal;

  // Group transform.
  int slide_anim = -1;
  Point slide_from;
  int fade_anim = -1;

  // Charts, legends, scales, markers, tables.
  std::vector<Bar> bars;
  std::string unit;
  double scale_min = 0.0;
  std::vector<Stop> stops;
  std::string letters;
  std::vector<Rgba> colours;
  std::vector<TextPart> note;
  std::string detail;
  Point label_at;
  std::vector<std::string> columns;
  std::vector<TableRow> rows;
  double caption_width = 0.0;
  double header_size = 9.0;

  int button = -1;  // buttons numbered in drawing order, for the hover look

  LayerSpec layer;

  // What a drawn element (not a group) covers and reads, for drawing a
  // frame by its changes: `ink` holds everything it draws (layout units),
  // unless `ink_varies` (a text whose width depends on bound records); it
  // reads the records `reads` and the flags `read_flags` besides its
  // visibility. `slot` numbers the drawn elements in drawing order.
  Box ink;
  bool ink_varies = false;
  std::vector<int> reads;
  std::uint64_t read_flags = 0;
  int slot = -1;

  std::vector<Node> children;
};

}  // namespace kvr::render

#endif
