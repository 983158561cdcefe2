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

#include "commands.h"

namespace kvr::render {

struct Rgba {
  double r = 0.0, g = 0.0, b = 0.0, a = 1.0;
};

// A fill or stroke: a literal colour or a bound colour record, optionally
// darkened (`shade` < 1) or made transparent. In the palette for every eye
// a literal may have a twin (`cividis`), and a record that holds a point
// of the scene's temperature ramp (`ramp`) is shown at that point of
// cividis.
struct Paint {
  bool set = false;
  Rgba rgba;
  int var = -1;
  double shade = 1.0;
  double alpha = 1.0;
  bool ramp = false;
  bool has_cividis = false;
  Rgba cividis;
};

// One piece of a text: a literal or a bound text record, or with `pinned`
// the reference's pinned copy of that record (empty while nothing is pinned).
struct TextPart {
  std::string literal;
  int var = -1;
  bool pinned = false;
};

struct Cond {
  // Pinned: holds while a reference is pinned (`number` 1) or while none is (0).
  // HouseView: holds while the runtime's house view `number` is open (0: none).
  // Palette: holds while the runtime's palette is `number` (0 standard, 1
  // cividis).
  enum class Op : std::uint8_t {
    True,
    On,
    AtLeast,
    Equals,
    Flag,
    Not,
    All,
    Any,
    Pinned,
    HouseView,
    Palette
  };
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
  Comparison,
  ClassDistance,
  SceneRegion,
  HouseView,
  SurfaceMarks,
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
  bool meets(const Box& b) const {
    return !empty() && !b.empty() && x1 < b.x2 && b.x1 < x2 && y1 < b.y2 && b.y1 < y2;
  }
};

// Where the layout step puts a result view of the grid (layout/view_grid.h):
// its elements drawn scaled by `scale` about the origin, then moved by
// (dx, dy). The identity leaves a view where the scene drew it.
struct Placement {
  double scale = 1.0, dx = 0.0, dy = 0.0;

  double x(double lx) const { return dx + scale * lx; }
  double y(double ly) const { return dy + scale * ly; }
  Box map(const Box& b) const {
    if (b.empty()) return b;
    return {x(b.x1), y(b.y1), x(b.x2), y(b.y2)};
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
  TextPart reference;  // the pinned value, drawn as an outlined ghost bar
  bool has_reference = false;
};

struct Stop {
  double at = 0.0;
  Rgba colour;
  TextPart label;
};

// Where one inner surface of the house (house::Surface: walls, windows,
// door, floor, ceiling) is drawn, marked there while it is at risk; shown
// only while `visible` holds (a second or third window).
struct SurfaceMark {
  std::uint8_t surface = 0;
  Point at;
  Cond visible;
  bool has_visible = false;
};

struct TableRow {
  std::string caption;
  std::vector<std::vector<TextPart>> cells;   // each cell: literal and bound parts
  std::vector<std::vector<TextPart>> second;  // a second, muted line per cell
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

// What a click on a button does. A program button hands the press to the
// program; a command button runs a runtime command and the program never
// sees the click; a press_as button hands a left click to the program as a
// press with `state` (at `x`, `y` when `at_point`), then the release.
struct ButtonAction {
  enum class Kind : std::uint8_t { Program, Command, PressAs };
  Kind kind = Kind::Program;
  Command command = Command::PinReference;
  std::int32_t state = 1;
  bool at_point = false;
  std::int32_t x = 0, y = 0;
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
  std::vector<Rgba> cividis_colours;  // the letters' colours in the palette for every eye
  bool ramp = false;  // a legend of the temperature ramp: cividis in the palette for every eye
  std::vector<TextPart> note;
  std::string detail;
  Point label_at;
  std::vector<std::string> columns;
  std::vector<TableRow> rows;
  double caption_width = 0.0;
  double header_size = 9.0;

  int button = -1;  // buttons numbered in drawing order, for the hover look
  ButtonAction action;
  int focus = -1;        // a button's place in the keyboard order; -1: not focusable
  int focus_scope = -1;  // the focus scope a button lies in (-1: none); for a scope group, its own
  bool is_scope = false;

  // Tables: a second line per cell, shown while `second_visible` holds.
  Cond second_visible;
  bool has_second = false;
  double second_size = 8.0;

  // Comparison, class scale and distance: the values read.
  TextPart current;
  TextPart reference;
  bool has_reference = false;
  bool lower_is_better = true;
  Paint better, worse;
  std::vector<double> bounds;  // class scale: upper bound of each letter but the last
  double divisor = 1.0;
  bool bands = false;  // class scale: the range of each letter drawn in its bar
  std::string format;  // class distance: the line, with {distance}, {unit}, {letter}

  // Scene region (report page): the main scene's elements shown, and the
  // layout box they are taken from (x1..y2 is where they are drawn).
  const std::vector<Node>* source_nodes = nullptr;
  double sx1 = 0.0, sy1 = 0.0, sx2 = 0.0, sy2 = 0.0;

  // House view: which of the runtime's views of the house it shows (1
  // composition, 2 condensation and mould, 3 « pistes d'amélioration »),
  // and where its columns start, from the box's left edge.
  std::uint8_t house_view = 0;
  std::vector<double> tabs;
  // Surface marks: the surfaces and where each is marked.
  std::vector<SurfaceMark> marks;

  LayerSpec layer;

  // A result view of the scene's grid: its number there (-1: none). The
  // layout step places it and everything in it (layout/view_grid.h).
  int grid_view = -1;

  // What a drawn element (not a group) covers and reads, for drawing a
  // frame by its changes: `ink` holds everything it draws (layout units),
  // unless `ink_varies` (a text whose width depends on bound records); it
  // reads the records `reads` and the flags `read_flags` besides its
  // visibility. `slot` numbers the drawn elements in drawing order.
  // `reads_pinned` are the records whose pinned copies it shows;
  // `reads_reference`: its look depends on whether a reference is pinned.
  // A table's texts are tracked apart, in the slots from `parts` on (see
  // model/table_grid.h); its own slot covers its bands, lines and which rows
  // are lit.
  Box ink;
  bool ink_varies = false;
  std::vector<int> reads;
  std::uint64_t read_flags = 0;
  std::vector<int> reads_pinned;
  bool reads_reference = false;
  bool reads_house = false;  // the program's house and the runtime's views of it
  int slot = -1;
  int parts = -1;

  std::vector<Node> children;
};

}  // namespace kvr::render

#endif
