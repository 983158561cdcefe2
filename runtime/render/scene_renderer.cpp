#include "scene_renderer.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <string_view>
#include <utility>
#include <vector>

#include "atomic_file.h"
#include "cairo_file_stream.h"

namespace kvr {

namespace {

using json = nlohmann::json;

constexpr const char* kFontFamily = "DejaVu Sans";

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
  // shape; a shape that is not convex is clipped when drawn instead.
  std::vector<std::pair<Point, Point>> segments;
  bool needs_clip = false;
};

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

  // A group kept as a picture of its region: redrawn only when what it
  // reads (records, flags, the lit button) changes.
  int layer = -1;  // index into the renderer's layers
  double lx1 = 0.0, ly1 = 0.0, lx2 = 0.0, ly2 = 0.0;
  std::vector<int> layer_vars;
  std::uint64_t layer_flags = 0;
  std::vector<int> layer_anims;
  bool layer_buttons = false;

  std::vector<Node> children;
};

// ---------------------------------------------------------------- records

const unsigned char* record(const FrameView& view, int var) {
  if (var < 0 || view.records == nullptr) return nullptr;
  auto index = static_cast<std::size_t>(var);
  if (index >= view.records->size()) return nullptr;
  return static_cast<const unsigned char*>((*view.records)[index]);
}

RecordKind kind_of(const FrameView& view, int var) {
  return view.scene->variables[static_cast<std::size_t>(var)].kind;
}

// The value of a switch (first float) or an integer record; 0 when unbound.
double number_value(const FrameView& view, int var) {
  const unsigned char* bytes = record(view, var);
  if (bytes == nullptr) return 0.0;
  switch (kind_of(view, var)) {
    case RecordKind::Switch: {
      float value = 0.0f;
      std::memcpy(&value, bytes, sizeof value);
      return static_cast<double>(value);
    }
    case RecordKind::Int32:
    case RecordKind::Area8: {
      std::int32_t value = 0;
      std::memcpy(&value, bytes, sizeof value);
      return value;
    }
    default:
      return 0.0;
  }
}

// Appends a bound text as UTF-8: its N characters (at most 78), each byte
// one Latin-1 character.
void append_text(const FrameView& view, int var, std::string& out) {
  const unsigned char* bytes = record(view, var);
  if (bytes == nullptr || kind_of(view, var) != RecordKind::Text) return;
  std::size_t n = std::min<std::size_t>(bytes[0], 78);
  for (std::size_t i = 1; i <= n; ++i) {
    unsigned char c = bytes[i];
    if (c < 0x80) {
      out.push_back(static_cast<char>(c));
    } else {
      out.push_back(static_cast<char>(0xC0 | (c >> 6)));
      out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
  }
}

std::string compose(const FrameView& view, const std::vector<TextPart>& parts) {
  std::string out;
  for (const TextPart& part : parts) {
    if (part.var >= 0)
      append_text(view, part.var, out);
    else
      out += part.literal;
  }
  return out;
}

std::string_view trimmed(std::string_view s) {
  while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
  while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
  return s;
}

bool colour_value(const FrameView& view, int var, Rgba& out) {
  const unsigned char* bytes = record(view, var);
  if (bytes == nullptr || kind_of(view, var) != RecordKind::Colour) return false;
  std::int16_t rgb[3];
  std::memcpy(rgb, bytes, sizeof rgb);
  auto channel = [](std::int16_t v) {
    return std::clamp(static_cast<double>(v), 0.0, 255.0) / 255.0;
  };
  out = {channel(rgb[0]), channel(rgb[1]), channel(rgb[2]), 1.0};
  return true;
}

bool holds(const Cond& cond, const FrameView& view) {
  switch (cond.op) {
    case Cond::Op::True:
      return true;
    case Cond::Op::On: {
      if (cond.var < 0) return false;
      if (kind_of(view, cond.var) == RecordKind::Text) {
        std::string text;
        append_text(view, cond.var, text);
        return !trimmed(text).empty();
      }
      return number_value(view, cond.var) != 0.0;
    }
    case Cond::Op::AtLeast:
      return cond.var >= 0 && number_value(view, cond.var) >= cond.number;
    case Cond::Op::Equals: {
      if (cond.var < 0) return false;
      if (cond.text_compare) {
        std::string text;
        append_text(view, cond.var, text);
        return trimmed(text) == cond.text;
      }
      return number_value(view, cond.var) == cond.number;
    }
    case Cond::Op::Flag:
      return view.state != nullptr && view.state->flag(cond.flag);
    case Cond::Op::Not:
      return !cond.subs.empty() && !holds(cond.subs[0], view);
    case Cond::Op::All:
      return std::all_of(cond.subs.begin(), cond.subs.end(),
                         [&](const Cond& c) { return holds(c, view); });
    case Cond::Op::Any:
      return std::any_of(cond.subs.begin(), cond.subs.end(),
                         [&](const Cond& c) { return holds(c, view); });
  }
  return false;
}

// ---------------------------------------------------------------- compiling

bool convex(const std::vector<Point>& pts) {
  if (pts.size() < 3) return false;
  int sign = 0;
  for (std::size_t i = 0; i < pts.size(); ++i) {
    const Point& a = pts[i];
    const Point& b = pts[(i + 1) % pts.size()];
    const Point& c = pts[(i + 2) % pts.size()];
    double cross = (b.x - a.x) * (c.y - b.y) - (b.y - a.y) * (c.x - b.x);
    if (std::abs(cross) < 1e-9) continue;
    int here = cross > 0 ? 1 : -1;
    if (sign != 0 && here != sign) return false;
    sign = here;
  }
  return sign != 0;
}

// Cuts the segment a..b to a convex polygon (Cyrus-Beck); false when
// nothing of it is inside.
bool clip_to_convex(const std::vector<Point>& poly, Point& a, Point& b) {
  double area = 0.0;
  for (std::size_t i = 0; i < poly.size(); ++i) {
    const Point& p = poly[i];
    const Point& q = poly[(i + 1) % poly.size()];
    area += p.x * q.y - q.x * p.y;
  }
  double orient = area > 0 ? 1.0 : -1.0;  // counter-clockwise: inside is left
  double t0 = 0.0, t1 = 1.0;
  double dx = b.x - a.x, dy = b.y - a.y;
  for (std::size_t i = 0; i < poly.size(); ++i) {
    const Point& p = poly[i];
    const Point& q = poly[(i + 1) % poly.size()];
    // Inward normal of edge p..q.
    double nx = -(q.y - p.y) * orient, ny = (q.x - p.x) * orient;
    double num = nx * (a.x - p.x) + ny * (a.y - p.y);
    double den = nx * dx + ny * dy;
    if (std::abs(den) < 1e-12) {
      if (num < 0) return false;
      continue;
    }
    double t = -num / den;
    if (den > 0) {
      t0 = std::max(t0, t);
    } else {
      t1 = std::min(t1, t);
    }
    if (t0 > t1) return false;
  }
  Point start{a.x + dx * t0, a.y + dy * t0};
  b = {a.x + dx * t1, a.y + dy * t1};
  a = start;
  return true;
}

// Courses (lines every `spacing` along `slope`) and staggered joints over
// the shape's outline.
void lay_hatch(Hatch& h, const std::vector<Point>& outline) {
  if (outline.size() < 3) return;
  double x1 = outline[0].x, x2 = x1, y1 = outline[0].y, y2 = y1;
  for (const Point& p : outline) {
    x1 = std::min(x1, p.x);
    x2 = std::max(x2, p.x);
    y1 = std::min(y1, p.y);
    y2 = std::max(y2, p.y);
  }
  h.needs_clip = !convex(outline);
  double rise = std::abs(h.slope) * (x2 - x1);
  double first = std::floor((y1 - rise - h.origin.y) / h.spacing);
  double last = std::ceil((y2 + rise - h.origin.y) / h.spacing);
  auto course_y = [&](double k, double x) {
    return h.origin.y + k * h.spacing + h.slope * (x - h.origin.x);
  };
  auto add = [&](Point a, Point b) {
    if (h.needs_clip || clip_to_convex(outline, a, b)) h.segments.push_back({a, b});
  };
  for (double k = first; k <= last; k += 1.0) {
    add({x1, course_y(k, x1)}, {x2, course_y(k, x2)});
    if (h.joints <= 0.0) continue;
    double offset = std::fmod(k, 2.0) == 0.0 ? 0.0 : h.joints / 2.0;
    double start =
        h.origin.x + offset + std::floor((x1 - h.origin.x - offset) / h.joints) * h.joints;
    for (double x = start; x <= x2; x += h.joints)
      add({x, course_y(k, x)}, {x, course_y(k + 1.0, x)});
  }
}

class Compiler {
 public:
  Compiler(const Scene& scene, std::vector<std::string>& problems, cairo_t* measure)
      : scene_(scene), problems_(problems), measure_(measure) {}

  Node element(const json& e, const std::string& where) {
    Node node;
    std::string kind = e.value("kind", "");
    node.id = e.contains("id") && e["id"].is_string() ? e["id"].get<std::string>() : "";
    std::string here = where + (node.id.empty() ? "" : " (" + node.id + ")");
    static const std::pair<const char*, Kind> kinds[] = {
        {"group", Kind::Group},
        {"rect", Kind::Rect},
        {"polygon", Kind::Polygon},
        {"polyline", Kind::Polyline},
        {"circle", Kind::Circle},
        {"text", Kind::Text},
        {"paragraph", Kind::Paragraph},
        {"button", Kind::Button},
        {"bar_chart", Kind::BarChart},
        {"gradient_legend", Kind::GradientLegend},
        {"class_scale", Kind::ClassScale},
        {"site_marker", Kind::SiteMarker},
        {"table", Kind::Table},
    };
    bool known = false;
    for (const auto& [name, k] : kinds) {
      if (kind == name) {
        node.kind = k;
        known = true;
      }
    }
    if (!known) problem(here, "the renderer cannot draw kind \"" + kind + "\"");
    if (e.contains("visible")) {
      node.visible = condition(e["visible"], here + ".visible");
      node.has_visible = true;
    }
    node.fill = paint(e, "fill", here);
    node.stroke = paint(e, "stroke", here);
    node.colour = paint(e, "colour", here);
    node.line_width = number(e, "line_width", 1.0, here);
    node.radius = number(e, "radius", 0.0, here);
    node.size = number(e, "size", 12.0, here);
    node.bold = e.value("bold", false);
    node.max_width = number(e, "max_width", 0.0, here);
    if (e.contains("box")) box(e["box"], node, here);
    if (e.contains("points")) node.points = points(e["points"], here + ".points");
    if (e.contains("dash")) {
      for (const json& d : e["dash"])
        if (d.is_number()) node.dash.push_back(d.get<double>());
    }
    if (e.contains("hatch")) {
      node.hatch = hatch(e["hatch"], here + ".hatch");
      std::vector<Point> outline = node.points;
      if (node.kind == Kind::Rect)
        outline = {{node.x1, node.y1}, {node.x2, node.y1}, {node.x2, node.y2}, {node.x1, node.y2}};
      lay_hatch(node.hatch, outline);
    }
    if (e.contains("align")) {
      std::string a = e["align"].is_string() ? e["align"].get<std::string>() : "";
      if (a == "center") {
        node.align = Align::Center;
      } else if (a == "right") {
        node.align = Align::Right;
      } else if (a != "left") {
        problem(here, "align must be left, center or right");
      }
    }
    if (e.contains("text") && node.kind != Kind::Paragraph) node.text = parts(e["text"], here);
    if (e.contains("caption") && e["caption"].is_string())
      node.text = {TextPart{e["caption"].get<std::string>(), -1}};
    if (e.contains("note")) node.note = parts(e["note"], here + ".note");
    if (e.contains("at")) node.label_at = point(e["at"], here + ".at");
    if (e.contains("center")) node.label_at = point(e["center"], here + ".center");

    switch (node.kind) {
      case Kind::Group:
        group_transform(e, node, here);
        break;
      case Kind::Paragraph:
        paragraph(e, node, here);
        break;
      case Kind::Button:
        button_style(e, node, here);
        node.button = buttons_++;
        break;
      case Kind::BarChart:
        bar_chart(e, node, here);
        break;
      case Kind::GradientLegend:
        legend(e, node, here);
        break;
      case Kind::ClassScale:
        class_scale(e, node, here);
        break;
      case Kind::SiteMarker:
        site_marker(e, node, here);
        break;
      case Kind::Table:
        table(e, node, here);
        break;
      default:
        break;
    }
    if (e.contains("children") && e["children"].is_array()) {
      const json& children = e["children"];
      for (std::size_t i = 0; i < children.size(); ++i)
        node.children.push_back(
            element(children[i], here + ".children[" + std::to_string(i) + "]"));
    }
    if (node.kind == Kind::Group && e.contains("layer")) {
      Node region;
      box(e["layer"], region, here + ".layer");
      node.lx1 = region.x1;
      node.ly1 = region.y1;
      node.lx2 = region.x2;
      node.ly2 = region.y2;
      node.layer = layers_++;
      for (const Node& child : node.children) {
        collect(child, node);
        check_inside(child, node, here);
      }
      if (node.slide_anim >= 0) node.layer_anims.push_back(node.slide_anim);
      if (node.fade_anim >= 0) node.layer_anims.push_back(node.fade_anim);
      std::sort(node.layer_vars.begin(), node.layer_vars.end());
      node.layer_vars.erase(std::unique(node.layer_vars.begin(), node.layer_vars.end()),
                            node.layer_vars.end());
    }
    return node;
  }

  int layers() const { return layers_; }

 private:
  void problem(const std::string& where, const std::string& what) {
    problems_.push_back(scene_.file + ": " + where + ": " + what);
  }

  int variable(const json& v, const std::string& where) {
    if (!v.is_string()) return -1;
    const std::string& s = v.get_ref<const std::string&>();
    if (s.size() < 2 || s[0] != '$' || s[1] == '$') return -1;
    int index = scene_.find_variable(std::string_view(s).substr(1));
    if (index < 0) problem(where, "names undeclared variable " + s);
    return index;
  }

  double number(const json& e, const char* key, double fallback, const std::string& where) {
    auto it = e.find(key);
    if (it == e.end()) return fallback;
    if (!it->is_number()) {
      problem(where, std::string("\"") + key + "\" must be a number");
      return fallback;
    }
    return it->get<double>();
  }

  Point point(const json& v, const std::string& where) {
    if (!v.is_array() || v.size() != 2 || !v[0].is_number() || !v[1].is_number()) {
      problem(where, "a point must be [x, y]");
      return {};
    }
    return {v[0].get<double>(), v[1].get<double>()};
  }

  std::vector<Point> points(const json& v, const std::string& where) {
    std::vector<Point> out;
    if (!v.is_array()) {
      problem(where, "must be an array of [x, y]");
      return out;
    }
    for (const json& p : v) out.push_back(point(p, where));
    return out;
  }

  void box(const json& v, Node& node, const std::string& where) {
    if (!v.is_array() || v.size() != 4 ||
        !std::all_of(v.begin(), v.end(), [](const json& n) { return n.is_number(); })) {
      problem(where, "\"box\" must be [x1, y1, x2, y2]");
      return;
    }
    node.x1 = v[0].get<double>();
    node.y1 = v[1].get<double>();
    node.x2 = v[2].get<double>();
    node.y2 = v[3].get<double>();
    if (node.x2 < node.x1) std::swap(node.x1, node.x2);
    if (node.y2 < node.y1) std::swap(node.y1, node.y2);
  }

  bool literal_colour(const json& v, Rgba& out) {
    if (v.is_string()) {
      const std::string& s = v.get_ref<const std::string&>();
      if ((s.size() != 7 && s.size() != 9) || s[0] != '#') return false;
      unsigned long value = std::strtoul(s.c_str() + 1, nullptr, 16);
      if (s.size() == 7) value = (value << 8) | 0xFF;
      out = {static_cast<double>((value >> 24) & 0xFF) / 255.0,
             static_cast<double>((value >> 16) & 0xFF) / 255.0,
             static_cast<double>((value >> 8) & 0xFF) / 255.0,
             static_cast<double>(value & 0xFF) / 255.0};
      return true;
    }
    if (v.is_array() && (v.size() == 3 || v.size() == 4) &&
        std::all_of(v.begin(), v.end(), [](const json& n) { return n.is_number(); })) {
      out = {v[0].get<double>() / 255.0, v[1].get<double>() / 255.0, v[2].get<double>() / 255.0,
             v.size() == 4 ? v[3].get<double>() : 1.0};
      return true;
    }
    return false;
  }

  Paint paint_value(const json& v, const std::string& where) {
    Paint p;
    if (v.is_string() && v.get_ref<const std::string&>() == "none") return p;
    if (v.is_string() && !v.get_ref<const std::string&>().empty() &&
        v.get_ref<const std::string&>()[0] == '$') {
      p.var = variable(v, where);
      p.set = p.var >= 0;
      return p;
    }
    if (v.is_object()) {
      if (v.contains("var")) {
        p.var = variable(v["var"], where);
        p.set = p.var >= 0;
      } else if (v.contains("colour") && literal_colour(v["colour"], p.rgba)) {
        p.set = true;
      } else {
        problem(where, "a colour object needs \"var\" or \"colour\"");
      }
      if (v.contains("shade") && v["shade"].is_number()) p.shade = v["shade"].get<double>();
      if (v.contains("alpha") && v["alpha"].is_number()) p.alpha = v["alpha"].get<double>();
      return p;
    }
    if (literal_colour(v, p.rgba)) {
      p.set = true;
    } else {
      problem(where, "not a colour: " + v.dump());
    }
    return p;
  }

  Paint paint(const json& e, const char* key, const std::string& where) {
    auto it = e.find(key);
    if (it == e.end()) return {};
    return paint_value(*it, where + "." + key);
  }

  std::vector<TextPart> parts(const json& v, const std::string& where) {
    std::vector<TextPart> out;
    auto one = [&](const json& item) {
      if (!item.is_string()) {
        problem(where, "text parts must be strings");
        return;
      }
      const std::string& s = item.get_ref<const std::string&>();
      if (s.size() >= 2 && s[0] == '$' && s[1] == '$') {
        out.push_back({s.substr(1), -1});
      } else if (!s.empty() && s[0] == '$') {
        int var = variable(item, where);
        if (var >= 0 && scene_.variables[static_cast<std::size_t>(var)].kind != RecordKind::Text)
          problem(where, s + " is not a text record");
        out.push_back({"", var});
      } else {
        out.push_back({s, -1});
      }
    };
    if (v.is_array()) {
      for (const json& item : v) one(item);
    } else {
      one(v);
    }
    return out;
  }

  TextPart part(const json& v, const std::string& where) {
    std::vector<TextPart> p = parts(v, where);
    return p.empty() ? TextPart{} : p.front();
  }

  Cond condition(const json& v, const std::string& where) {
    Cond c;
    if (!v.is_object() || v.size() != 1) {
      problem(where, "a condition is an object with one member");
      c.op = Cond::Op::Not;  // never holds
      return c;
    }
    auto first = v.begin();
    const std::string key = first.key();
    const json& arg = first.value();
    if (key == "on") {
      c.op = Cond::Op::On;
      c.var = variable(arg, where);
    } else if (key == "at_least" || key == "equals") {
      c.op = key == "equals" ? Cond::Op::Equals : Cond::Op::AtLeast;
      if (!arg.is_array() || arg.size() != 2) {
        problem(where, key + " takes [\"$OBJ.VAR\", value]");
      } else {
        c.var = variable(arg[0], where);
        if (arg[1].is_number()) {
          c.number = arg[1].get<double>();
        } else if (arg[1].is_string() && key == "equals") {
          c.text = arg[1].get<std::string>();
          c.text_compare = true;
        } else {
          problem(where, key + ": the value must be a number");
        }
      }
    } else if (key == "flag") {
      c.op = Cond::Op::Flag;
      c.flag = arg.is_string() ? scene_.find_flag(arg.get<std::string>()) : -1;
      if (c.flag < 0) problem(where, "unknown flag " + arg.dump());
    } else if (key == "not") {
      c.op = Cond::Op::Not;
      c.subs.push_back(condition(arg, where + ".not"));
    } else if (key == "all" || key == "any") {
      c.op = key == "all" ? Cond::Op::All : Cond::Op::Any;
      if (!arg.is_array()) problem(where, key + " takes an array of conditions");
      for (const json& sub : arg) c.subs.push_back(condition(sub, where + "." + key));
    } else {
      problem(where, "unknown condition \"" + key + "\"");
      c.op = Cond::Op::Not;
    }
    return c;
  }

  Hatch hatch(const json& v, const std::string& where) {
    Hatch h;
    if (!v.is_object()) {
      problem(where, "must be an object");
      return h;
    }
    h.set = true;
    h.spacing = std::max(1.0, number(v, "spacing", 8.0, where));
    h.slope = number(v, "slope", 0.0, where);
    h.joints = number(v, "joints", 0.0, where);
    h.line_width = number(v, "line_width", 0.8, where);
    if (v.contains("origin")) h.origin = point(v["origin"], where + ".origin");
    h.colour = paint(v, "colour", where);
    if (!h.colour.set) h.colour.rgba = {0.0, 0.0, 0.0, 0.35}, h.colour.set = true;
    return h;
  }

  void group_transform(const json& e, Node& node, const std::string& where) {
    if (auto it = e.find("slide"); it != e.end()) {
      node.slide_anim = animation(*it, where + ".slide");
      if (it->contains("from")) node.slide_from = point((*it)["from"], where + ".slide.from");
    }
    if (auto it = e.find("fade"); it != e.end()) node.fade_anim = animation(*it, where + ".fade");
  }

  int animation(const json& v, const std::string& where) {
    if (!v.is_object() || !v.contains("anim") || !v["anim"].is_string()) {
      problem(where, "needs \"anim\"");
      return -1;
    }
    int index = scene_.find_animation(v["anim"].get<std::string>());
    if (index < 0) problem(where, "unknown animation " + v["anim"].dump());
    return index;
  }

  double advance(const std::string& text, double size, bool bold) {
    cairo_select_font_face(measure_, kFontFamily, CAIRO_FONT_SLANT_NORMAL,
                           bold ? CAIRO_FONT_WEIGHT_BOLD : CAIRO_FONT_WEIGHT_NORMAL);
    cairo_set_font_size(measure_, size);
    cairo_text_extents_t ext;
    cairo_text_extents(measure_, text.c_str(), &ext);
    return ext.x_advance;
  }

  // Wraps a page of text into the box once. Paragraphs are separated by
  // "\n"; a paragraph starting with "# " is a heading, one starting with
  // "- " a bullet with a hanging indent.
  void paragraph(const json& e, Node& node, const std::string& where) {
    std::string text =
        e.contains("text") && e["text"].is_string() ? e["text"].get<std::string>() : std::string();
    if (text.empty()) problem(where, "a paragraph needs a \"text\" string");
    double size = node.size;
    double leading = number(e, "line_height", 1.35, where);
    double gap = number(e, "paragraph_gap", 0.45, where);
    double width = node.x2 - node.x1;
    double y = node.y2 - size;
    std::size_t start = 0;
    while (start <= text.size()) {
      std::size_t end = text.find('\n', start);
      if (end == std::string::npos) end = text.size();
      std::string para = text.substr(start, end - start);
      start = end + 1;
      bool heading = para.rfind("# ", 0) == 0;
      bool bullet = para.rfind("- ", 0) == 0;
      if (heading || bullet) para = para.substr(2);
      double psize = heading ? size * 1.25 : size;
      double indent = bullet ? size * 1.1 : 0.0;
      if (bullet) node.lines.push_back({"•", y, node.x1 + size * 0.2, psize, false});
      std::string line;
      std::size_t pos = 0;
      auto flush = [&]() {
        node.lines.push_back({line, y, node.x1 + indent, psize, heading});
        y -= psize * leading;
        line.clear();
      };
      while (pos < para.size()) {
        std::size_t space = para.find(' ', pos);
        if (space == std::string::npos) space = para.size();
        std::string word = para.substr(pos, space - pos);
        pos = space + 1;
        std::string candidate = line.empty() ? word : line + " " + word;
        if (!line.empty() && advance(candidate, psize, heading) > width - indent) {
          flush();
          line = word;
        } else {
          line = candidate;
        }
      }
      if (!line.empty() || para.empty()) flush();
      y -= size * gap;
      if (end == text.size()) break;
    }
    if (y + size * gap < node.y1) problem(where, "the text runs below its box");
  }

  void button_style(const json& e, Node& node, const std::string& where) {
    std::string style = e.value("style", "normal");
    if (style == "normal") {
      node.style = ButtonStyle::Normal;
    } else if (style == "accent") {
      node.style = ButtonStyle::Accent;
    } else if (style == "danger") {
      node.style = ButtonStyle::Danger;
    } else if (style == "disabled") {
      node.style = ButtonStyle::Disabled;
    } else if (style == "inert") {
      node.style = ButtonStyle::Inert;
    } else {
      problem(where, "unknown button style \"" + style + "\"");
    }
    if (!e.contains("size")) node.size = 11.0;
  }

  void bar_chart(const json& e, Node& node, const std::string& where) {
    node.unit = e.value("unit", "");
    node.scale_min = number(e, "scale_min", 0.0, where);
    if (!e.contains("bars") || !e["bars"].is_array()) {
      problem(where, "a bar chart needs \"bars\"");
      return;
    }
    for (const json& b : e["bars"]) {
      Bar bar;
      bar.label = b.value("label", "");
      if (b.contains("value")) bar.value = part(b["value"], where + ".bars");
      bar.colour = paint(b, "colour", where + ".bars");
      node.bars.push_back(bar);
    }
    if (!e.contains("size")) node.size = 9.0;
  }

  void legend(const json& e, Node& node, const std::string& where) {
    node.unit = e.value("unit", "");
    if (!e.contains("stops") || !e["stops"].is_array()) {
      problem(where, "a gradient legend needs \"stops\"");
      return;
    }
    for (const json& s : e["stops"]) {
      Stop stop;
      stop.at = number(s, "at", 0.0, where + ".stops");
      if (!s.contains("colour") || !literal_colour(s["colour"], stop.colour))
        problem(where, "each stop needs a literal colour");
      if (s.contains("label")) stop.label = part(s["label"], where + ".stops");
      node.stops.push_back(stop);
    }
    if (!e.contains("size")) node.size = 10.0;
  }

  void class_scale(const json& e, Node& node, const std::string& where) {
    node.text = e.contains("value") ? std::vector<TextPart>{part(e["value"], where)}
                                    : std::vector<TextPart>{};
    node.letters = e.value("letters", "ABCDEFG");
    if (e.contains("colours") && e["colours"].is_array()) {
      for (const json& c : e["colours"]) {
        Rgba rgba;
        if (!literal_colour(c, rgba)) problem(where, "colours must be literal colours");
        node.colours.push_back(rgba);
      }
    }
    if (node.colours.size() != node.letters.size())
      problem(where, "one colour per letter is needed");
    if (!e.contains("size")) node.size = 10.0;
  }

  void site_marker(const json& e, Node& node, const std::string& where) {
    node.detail = e.value("detail", "");
    if (e.contains("on")) {
      node.visible = {};
      node.visible.op = Cond::Op::On;
      node.visible.var = variable(e["on"], where + ".on");
    } else {
      problem(where, "a site marker needs \"on\"");
    }
    node.points = {node.label_at};
    if (e.contains("label_at")) node.label_at = point(e["label_at"], where + ".label_at");
    node.text = {TextPart{e.value("label", ""), -1}};
    if (!e.contains("size")) node.size = 9.0;
  }

  void table(const json& e, Node& node, const std::string& where) {
    node.caption_width = number(e, "caption_width", 120.0, where);
    node.header_size = number(e, "header_size", 9.0, where);
    if (!e.contains("size")) node.size = 10.0;
    if (e.contains("columns") && e["columns"].is_array())
      for (const json& c : e["columns"])
        node.columns.push_back(c.is_string() ? c.get<std::string>() : "");
    if (!e.contains("rows") || !e["rows"].is_array()) {
      problem(where, "a table needs \"rows\"");
      return;
    }
    for (const json& r : e["rows"]) {
      TableRow row;
      row.caption = r.value("caption", "");
      if (r.contains("cells") && r["cells"].is_array()) {
        for (const json& cell : r["cells"])
          row.cells.push_back(cell.is_null() ? std::vector<TextPart>{}
                                             : parts(cell, where + ".rows"));
      }
      if (row.cells.size() > node.columns.size())
        problem(where, "row \"" + row.caption + "\" has more cells than columns");
      if (r.contains("highlight")) {
        row.highlight = condition(r["highlight"], where + ".rows.highlight");
        row.has_highlight = true;
      }
      node.rows.push_back(std::move(row));
    }
  }

  // A layer shows only its region: a shape reaching outside it would be cut.
  // Texts are left out (their width depends on what the program writes).
  void check_inside(const Node& n, const Node& layer, const std::string& where) {
    double x1 = 1e9, y1 = 1e9, x2 = -1e9, y2 = -1e9;
    auto grow = [&](double ax, double ay, double margin) {
      x1 = std::min(x1, ax - margin);
      y1 = std::min(y1, ay - margin);
      x2 = std::max(x2, ax + margin);
      y2 = std::max(y2, ay + margin);
    };
    double half = n.stroke.set ? n.line_width / 2.0 : 0.0;
    switch (n.kind) {
      case Kind::Rect:
      case Kind::Button:
      case Kind::Table:
      case Kind::BarChart:
      case Kind::ClassScale:
        grow(n.x1, n.y1, half);
        grow(n.x2, n.y2, half);
        break;
      case Kind::Polygon:
      case Kind::Polyline:
        for (const Point& p : n.points)
          grow(p.x, p.y, n.kind == Kind::Polyline ? n.line_width / 2.0 : half);
        break;
      case Kind::Circle:
        grow(n.label_at.x, n.label_at.y, n.radius + half);
        break;
      default:
        break;
    }
    // A region edge on the layout's edge cuts nothing that would show.
    const double slack = 0.01;
    double rx1 = layer.lx1 <= 0.0 ? -1e9 : layer.lx1 - slack;
    double ry1 = layer.ly1 <= 0.0 ? -1e9 : layer.ly1 - slack;
    double rx2 = layer.lx2 >= scene_.width ? 1e9 : layer.lx2 + slack;
    double ry2 = layer.ly2 >= scene_.height ? 1e9 : layer.ly2 + slack;
    if (x2 >= x1 && (x1 < rx1 || y1 < ry1 || x2 > rx2 || y2 > ry2)) {
      problem(where, (n.id.empty() ? std::string("an element") : "\"" + n.id + "\"") +
                         " reaches outside the layer region and would be cut");
    }
    for (const Node& child : n.children) check_inside(child, layer, where);
  }

  // Everything a layer's drawing reads, gathered from its subtree.
  static void collect_cond(const Cond& c, Node& layer) {
    if (c.var >= 0) layer.layer_vars.push_back(c.var);
    if (c.op == Cond::Op::Flag && c.flag >= 0) layer.layer_flags |= std::uint64_t{1} << c.flag;
    for (const Cond& sub : c.subs) collect_cond(sub, layer);
  }
  static void collect_paint(const Paint& p, Node& layer) {
    if (p.var >= 0) layer.layer_vars.push_back(p.var);
  }
  static void collect_parts(const std::vector<TextPart>& parts, Node& layer) {
    for (const TextPart& t : parts)
      if (t.var >= 0) layer.layer_vars.push_back(t.var);
  }
  static void collect(const Node& n, Node& layer) {
    collect_cond(n.visible, layer);
    collect_paint(n.fill, layer);
    collect_paint(n.stroke, layer);
    collect_paint(n.colour, layer);
    collect_paint(n.hatch.colour, layer);
    collect_parts(n.text, layer);
    collect_parts(n.note, layer);
    for (const Bar& b : n.bars) {
      collect_paint(b.colour, layer);
      collect_parts({b.value}, layer);
    }
    for (const Stop& st : n.stops) collect_parts({st.label}, layer);
    for (const TableRow& row : n.rows) {
      collect_cond(row.highlight, layer);
      for (const auto& cell : row.cells) collect_parts(cell, layer);
    }
    if (n.slide_anim >= 0) layer.layer_anims.push_back(n.slide_anim);
    if (n.fade_anim >= 0) layer.layer_anims.push_back(n.fade_anim);
    if (n.kind == Kind::Button) layer.layer_buttons = true;
    for (const Node& child : n.children) collect(child, layer);
  }

  const Scene& scene_;
  std::vector<std::string>& problems_;
  cairo_t* measure_;
  int buttons_ = 0;
  int layers_ = 0;
};

// The picture of one layer and what it was drawn from.
struct LayerCache {
  cairo_surface_t* surface = nullptr;
  std::vector<unsigned char> key;
  int x = 0, y = 0, width = 0, height = 0;  // device pixels

  LayerCache() = default;
  LayerCache(const LayerCache&) = delete;
  LayerCache& operator=(const LayerCache&) = delete;
  ~LayerCache() {
    if (surface != nullptr) cairo_surface_destroy(surface);
  }
};

bool inside(const Node& n, const PointerLook& p) {
  return p.x > n.x1 && p.x < n.x2 && p.y > n.y1 && p.y < n.y2;
}

// The topmost visible live button under the pointer, or -1.
int hot_button(const Node& n, const FrameView& view, const PointerLook& pointer) {
  if (n.kind == Kind::SiteMarker) return -1;
  if (n.has_visible && !holds(n.visible, view)) return -1;
  int hot = -1;
  if (n.kind == Kind::Button && n.style != ButtonStyle::Disabled && n.style != ButtonStyle::Inert &&
      inside(n, pointer))
    hot = n.button;
  for (const Node& child : n.children) {
    int h = hot_button(child, view, pointer);
    if (h >= 0) hot = h;
  }
  return hot;
}

// ---------------------------------------------------------------- drawing

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
};

const Look kLook;

void set_rgba(cairo_t* cr, const Rgba& c) {
  cairo_set_source_rgba(cr, c.r, c.g, c.b, c.a);
}

class Painter {
 public:
  Painter(cairo_t* cr, const FrameView& view, double now, const PointerLook& pointer,
          cairo_font_face_t* regular, cairo_font_face_t* bold,
          std::vector<std::unique_ptr<LayerCache>>* layers, int hot, cairo_font_options_t* options)
      : cr_(cr),
        view_(view),
        now_(now),
        pointer_(pointer),
        regular_(regular),
        bold_(bold),
        layers_(layers),
        hot_(hot),
        options_(options) {}

  void node(const Node& n) {
    if (n.kind == Kind::SiteMarker) {
      // A site marker is always drawn; its switch only highlights it.
      marker(n, holds(n.visible, view_));
      return;
    }
    if (n.has_visible && !holds(n.visible, view_)) return;
    switch (n.kind) {
      case Kind::Group:
        walk_group(n);
        return;
      case Kind::Rect:
        rect(n);
        return;
      case Kind::Polygon:
        path_points(n.points, true);
        fill_stroke(n);
        return;
      case Kind::Polyline:
        path_points(n.points, false);
        stroke_only(n);
        return;
      case Kind::Circle:
        cairo_new_path(cr_);
        cairo_arc(cr_, n.label_at.x, n.label_at.y, n.radius, 0.0, 2.0 * M_PI);
        fill_stroke(n);
        return;
      case Kind::Text:
        text(compose(view_, n.text), n.label_at.x, n.label_at.y, n.size, n.bold, n.align,
             colour_or(n.colour, kLook.text), n.max_width);
        return;
      case Kind::Paragraph:
        for (const Line& line : n.lines)
          text(line.text, line.x, line.y, line.size, line.bold, Align::Left,
               colour_or(n.colour, kLook.text), 0.0);
        return;
      case Kind::Button:
        button(n);
        return;
      case Kind::BarChart:
        bar_chart(n);
        return;
      case Kind::GradientLegend:
        legend(n);
        return;
      case Kind::ClassScale:
        class_scale(n);
        return;
      case Kind::SiteMarker:
        return;
      case Kind::Table:
        table(n);
        return;
    }
  }

 private:
  Rgba resolve(const Paint& p) const {
    Rgba c = p.rgba;
    if (p.var >= 0 && !colour_value(view_, p.var, c)) c = {0.5, 0.5, 0.5, 1.0};
    c.r *= p.shade;
    c.g *= p.shade;
    c.b *= p.shade;
    c.a *= p.alpha;
    return c;
  }

  Rgba colour_or(const Paint& p, const Rgba& fallback) const {
    return p.set ? resolve(p) : fallback;
  }

  void rounded(double x1, double y1, double x2, double y2, double r) {
    cairo_new_path(cr_);
    r = std::min({r, (x2 - x1) / 2.0, (y2 - y1) / 2.0});
    if (r <= 0.0) {
      cairo_rectangle(cr_, x1, y1, x2 - x1, y2 - y1);
      return;
    }
    cairo_arc(cr_, x2 - r, y2 - r, r, 0.0, M_PI / 2.0);
    cairo_arc(cr_, x1 + r, y2 - r, r, M_PI / 2.0, M_PI);
    cairo_arc(cr_, x1 + r, y1 + r, r, M_PI, 1.5 * M_PI);
    cairo_arc(cr_, x2 - r, y1 + r, r, 1.5 * M_PI, 2.0 * M_PI);
    cairo_close_path(cr_);
  }

  void rect(const Node& n) {
    rounded(n.x1, n.y1, n.x2, n.y2, n.radius);
    fill_stroke(n);
  }

  void path_points(const std::vector<Point>& pts, bool close) {
    cairo_new_path(cr_);
    for (const Point& p : pts) cairo_line_to(cr_, p.x, p.y);
    if (close) cairo_close_path(cr_);
  }

  void fill_stroke(const Node& n) {
    if (n.fill.set) {
      set_rgba(cr_, resolve(n.fill));
      if (n.hatch.set || n.stroke.set)
        cairo_fill_preserve(cr_);
      else
        cairo_fill(cr_);
    }
    if (n.hatch.set) draw_hatch(n);
    if (n.stroke.set) {
      stroke_only(n);
    } else {
      cairo_new_path(cr_);
    }
  }

  void stroke_only(const Node& n) {
    if (!n.stroke.set) {
      cairo_new_path(cr_);
      return;
    }
    set_rgba(cr_, resolve(n.stroke));
    cairo_set_line_width(cr_, n.line_width);
    cairo_set_line_join(cr_, CAIRO_LINE_JOIN_ROUND);
    cairo_set_line_cap(cr_, CAIRO_LINE_CAP_ROUND);
    if (!n.dash.empty()) cairo_set_dash(cr_, n.dash.data(), static_cast<int>(n.dash.size()), 0.0);
    cairo_stroke(cr_);
    if (!n.dash.empty()) cairo_set_dash(cr_, nullptr, 0, 0.0);
  }

  // Courses inside the current path: the path is kept for a later stroke.
  void draw_hatch(const Node& n) {
    const Hatch& h = n.hatch;
    if (h.segments.empty()) return;
    cairo_path_t* kept = cairo_copy_path(cr_);
    cairo_save(cr_);
    if (h.needs_clip) cairo_clip_preserve(cr_);
    cairo_new_path(cr_);
    for (const auto& [a, b] : h.segments) {
      cairo_move_to(cr_, a.x, a.y);
      cairo_line_to(cr_, b.x, b.y);
    }
    set_rgba(cr_, resolve(h.colour));
    cairo_set_line_width(cr_, h.line_width);
    cairo_set_line_cap(cr_, CAIRO_LINE_CAP_BUTT);
    cairo_stroke(cr_);
    cairo_restore(cr_);
    cairo_new_path(cr_);
    cairo_append_path(cr_, kept);
    cairo_path_destroy(kept);
  }

  void font(double size, bool bold) {
    cairo_set_font_face(cr_, bold ? bold_ : regular_);
    cairo_set_font_size(cr_, size);
  }

  double width_of(const std::string& s, double size, bool bold) {
    font(size, bold);
    cairo_text_extents_t ext;
    cairo_text_extents(cr_, s.c_str(), &ext);
    return ext.x_advance;
  }

  // Draws one line of text with its baseline at y (layout units, y up).
  // A text wider than max_width is drawn smaller to fit.
  void text(const std::string& s, double x, double y, double size, bool bold, Align align,
            const Rgba& colour, double max_width) {
    if (s.empty()) return;
    double w = width_of(s, size, bold);
    if (max_width > 0.0 && w > max_width) {
      size *= max_width / w;
      w = max_width;
      font(size, bold);
    }
    if (align == Align::Center) x -= w / 2.0;
    if (align == Align::Right) x -= w;
    set_rgba(cr_, colour);
    cairo_save(cr_);
    cairo_translate(cr_, x, y);
    cairo_scale(cr_, 1.0, -1.0);
    cairo_move_to(cr_, 0.0, 0.0);
    cairo_show_text(cr_, s.c_str());
    cairo_restore(cr_);
  }

  // Baseline that centres a line of the given size vertically on `mid`.
  static double centred_baseline(double mid, double size) { return mid - size * 0.36; }

  bool pointer_in(const Node& n) const { return inside(n, pointer_); }

  void button(const Node& n) {
    bool live = n.style != ButtonStyle::Disabled && n.style != ButtonStyle::Inert;
    bool hover = live && pointer_in(n);
    bool pressed = hover && pointer_.buttons == 1;
    Rgba face = kLook.button, edge = kLook.button_edge, ink = kLook.text;
    switch (n.style) {
      case ButtonStyle::Normal:
        face = pressed ? kLook.button_pressed : hover ? kLook.button_hover : kLook.button;
        break;
      case ButtonStyle::Accent:
        face = pressed ? kLook.accent_pressed : hover ? kLook.accent_hover : kLook.accent;
        edge = kLook.accent_pressed;
        ink = {1.0, 1.0, 1.0, 1.0};
        break;
      case ButtonStyle::Danger:
        face = pressed ? kLook.danger_pressed : hover ? kLook.danger_hover : kLook.danger;
        edge = kLook.danger_edge;
        break;
      case ButtonStyle::Disabled:
        face = kLook.disabled;
        edge = kLook.disabled_text;
        ink = kLook.disabled_text;
        break;
      case ButtonStyle::Inert:
        face = {0.94, 0.94, 0.93, 1.0};
        edge = {0.75, 0.75, 0.74, 1.0};
        ink = kLook.muted;
        break;
    }
    if (n.fill.set) face = resolve(n.fill);
    double r = n.radius > 0.0 ? n.radius : 3.0;
    rounded(n.x1 + 0.5, n.y1 + 0.5, n.x2 - 0.5, n.y2 - 0.5, r);
    set_rgba(cr_, face);
    cairo_fill_preserve(cr_);
    set_rgba(cr_, edge);
    cairo_set_line_width(cr_, hover ? 1.6 : 1.0);
    cairo_stroke(cr_);
    std::string caption = compose(view_, n.text);
    double shift = pressed ? -1.0 : 0.0;
    text(caption, (n.x1 + n.x2) / 2.0, centred_baseline((n.y1 + n.y2) / 2.0, n.size) + shift,
         n.size, n.bold, Align::Center, n.colour.set ? resolve(n.colour) : ink, n.x2 - n.x1 - 4.0);
  }

  static double parse_number(const std::string& s) {
    std::string_view t = trimmed(s);
    if (t.empty()) return 0.0;
    std::string copy(t);
    char* end = nullptr;
    double v = std::strtod(copy.c_str(), &end);
    return (end == copy.c_str() || !std::isfinite(v)) ? 0.0 : v;
  }

  void bar_chart(const Node& n) {
    std::size_t count = n.bars.size();
    if (count == 0) return;
    std::vector<std::string> values(count);
    std::vector<double> numbers(count);
    double top = n.scale_min;
    for (std::size_t i = 0; i < count; ++i) {
      values[i] = std::string(trimmed(compose(view_, {n.bars[i].value})));
      numbers[i] = std::max(0.0, parse_number(values[i]));
      top = std::max(top, numbers[i]);
    }
    double label_band = n.size * 1.6;
    double value_band = n.size * 1.5;
    double base = n.y1 + label_band;
    double height = n.y2 - base - value_band;
    double slot = (n.x2 - n.x1) / static_cast<double>(count);
    double bar_w = slot * 0.58;
    Rgba default_bar = colour_or(n.fill, kLook.accent);
    for (std::size_t i = 0; i < count; ++i) {
      double cx = n.x1 + slot * (static_cast<double>(i) + 0.5);
      double h = top > 0.0 ? height * numbers[i] / top : 0.0;
      if (h > 0.0) {
        cairo_new_path(cr_);
        cairo_rectangle(cr_, cx - bar_w / 2.0, base, bar_w, h);
        set_rgba(cr_, n.bars[i].colour.set ? resolve(n.bars[i].colour) : default_bar);
        cairo_fill(cr_);
      }
      std::string shown = values[i].empty() ? "" : values[i] + n.unit;
      text(shown, cx, base + h + n.size * 0.45, n.size, true, Align::Center, kLook.text,
           slot - 2.0);
      text(n.bars[i].label, cx, n.y1 + n.size * 0.45, n.size, false, Align::Center, kLook.muted,
           slot - 2.0);
    }
    cairo_new_path(cr_);
    cairo_move_to(cr_, n.x1, base);
    cairo_line_to(cr_, n.x2, base);
    set_rgba(cr_, kLook.muted);
    cairo_set_line_width(cr_, 0.8);
    cairo_stroke(cr_);
  }

  void legend(const Node& n) {
    if (n.stops.empty()) return;
    cairo_pattern_t* gradient = cairo_pattern_create_linear(0.0, n.y1, 0.0, n.y2);
    for (const Stop& s : n.stops)
      cairo_pattern_add_color_stop_rgba(gradient, s.at, s.colour.r, s.colour.g, s.colour.b,
                                        s.colour.a);
    rounded(n.x1, n.y1, n.x2, n.y2, 2.0);
    cairo_set_source(cr_, gradient);
    cairo_fill_preserve(cr_);
    cairo_pattern_destroy(gradient);
    set_rgba(cr_, {0.2, 0.2, 0.2, 0.8});
    cairo_set_line_width(cr_, 0.8);
    cairo_stroke(cr_);
    Rgba ink = colour_or(n.colour, kLook.text);
    for (const Stop& s : n.stops) {
      std::string label = std::string(trimmed(compose(view_, {s.label})));
      if (label.empty()) continue;
      double y = n.y1 + (n.y2 - n.y1) * s.at;
      cairo_new_path(cr_);
      cairo_move_to(cr_, n.x2, y);
      cairo_line_to(cr_, n.x2 + 4.0, y);
      set_rgba(cr_, ink);
      cairo_set_line_width(cr_, 1.0);
      cairo_stroke(cr_);
      text(label + n.unit, n.x2 + 6.0, centred_baseline(y, n.size), n.size, false, Align::Left, ink,
           0.0);
    }
  }

  void class_scale(const Node& n) {
    std::size_t count = std::min(n.letters.size(), n.colours.size());
    if (count == 0) return;
    std::string marked = n.text.empty() ? "" : std::string(trimmed(compose(view_, n.text)));
    double step = (n.y2 - n.y1) / static_cast<double>(count);
    double bar_h = step * 0.86;
    double full = (n.x2 - n.x1) * 0.62;
    for (std::size_t i = 0; i < count; ++i) {
      double top = n.y2 - step * static_cast<double>(i);
      double len = full * (0.45 + 0.55 * static_cast<double>(i) / static_cast<double>(count - 1));
      // The bar ends in a point, like the arrows of an energy label.
      double y_mid = top - bar_h / 2.0;
      cairo_new_path(cr_);
      cairo_move_to(cr_, n.x1, top);
      cairo_line_to(cr_, n.x1 + len, top);
      cairo_line_to(cr_, n.x1 + len + bar_h / 2.0, y_mid);
      cairo_line_to(cr_, n.x1 + len, top - bar_h);
      cairo_line_to(cr_, n.x1, top - bar_h);
      cairo_close_path(cr_);
      set_rgba(cr_, n.colours[i]);
      cairo_fill(cr_);
      std::string letter(1, n.letters[i]);
      text(letter, n.x1 + 3.0, centred_baseline(y_mid, bar_h * 0.9), bar_h * 0.9, true, Align::Left,
           {1.0, 1.0, 1.0, 1.0}, 0.0);
      if (marked == letter) {
        // A dark tag pointing at the bar, holding the letter.
        double tag_r = n.x2;
        double tag_l = n.x1 + full + bar_h;
        double h = step * 1.1;
        cairo_new_path(cr_);
        cairo_move_to(cr_, tag_l, y_mid);
        cairo_line_to(cr_, tag_l + h / 2.0, y_mid + h / 2.0);
        cairo_line_to(cr_, tag_r, y_mid + h / 2.0);
        cairo_line_to(cr_, tag_r, y_mid - h / 2.0);
        cairo_line_to(cr_, tag_l + h / 2.0, y_mid - h / 2.0);
        cairo_close_path(cr_);
        set_rgba(cr_, {0.12, 0.12, 0.14, 1.0});
        cairo_fill(cr_);
        text(letter, (tag_l + h / 2.0 + tag_r) / 2.0, centred_baseline(y_mid, h * 0.8), h * 0.8,
             true, Align::Center, {1.0, 1.0, 1.0, 1.0}, 0.0);
      }
    }
    // The note is left out until its bound texts hold something.
    bool filled = std::all_of(n.note.begin(), n.note.end(), [&](const TextPart& p) {
      return p.var < 0 || !trimmed(compose(view_, {p})).empty();
    });
    std::string note = compose(view_, n.note);
    if (filled && !trimmed(note).empty())
      text(std::string(trimmed(note)), (n.x1 + n.x2) / 2.0, n.y1 - n.size * 1.3, n.size, false,
           Align::Center, kLook.text, n.x2 - n.x1);
  }

  void table(const Node& n) {
    std::size_t columns = n.columns.size();
    if (columns == 0) return;
    double row_h = (n.y2 - n.y1) / static_cast<double>(n.rows.size() + 1);
    double cell_w = (n.x2 - n.x1 - n.caption_width) / static_cast<double>(columns);
    Rgba stripe{0.95, 0.96, 0.98, 1.0};
    Rgba highlight{1.0, 0.93, 0.70, 1.0};
    // Header band.
    cairo_new_path(cr_);
    cairo_rectangle(cr_, n.x1, n.y2 - row_h, n.x2 - n.x1, row_h);
    set_rgba(cr_, {0.86, 0.90, 0.95, 1.0});
    cairo_fill(cr_);
    for (std::size_t c = 0; c < columns; ++c) {
      double cx = n.x1 + n.caption_width + cell_w * (static_cast<double>(c) + 0.5);
      text(n.columns[c], cx, centred_baseline(n.y2 - row_h / 2.0, n.header_size), n.header_size,
           true, Align::Center, kLook.text, cell_w - 3.0);
    }
    for (std::size_t r = 0; r < n.rows.size(); ++r) {
      const TableRow& row = n.rows[r];
      double top = n.y2 - row_h * static_cast<double>(r + 1);
      bool lit = row.has_highlight && holds(row.highlight, view_);
      if (lit || r % 2 == 1) {
        cairo_new_path(cr_);
        cairo_rectangle(cr_, n.x1, top - row_h, n.x2 - n.x1, row_h);
        set_rgba(cr_, lit ? highlight : stripe);
        cairo_fill(cr_);
      }
      double base = centred_baseline(top - row_h / 2.0, n.size);
      text(row.caption, n.x1 + 5.0, base, n.size, lit, Align::Left, kLook.text,
           n.caption_width - 8.0);
      for (std::size_t c = 0; c < row.cells.size() && c < columns; ++c) {
        std::string value(trimmed(compose(view_, row.cells[c])));
        double cx = n.x1 + n.caption_width + cell_w * (static_cast<double>(c) + 0.5);
        text(value, cx, base, n.size, lit, Align::Center, kLook.text, cell_w - 3.0);
      }
    }
    cairo_new_path(cr_);
    cairo_rectangle(cr_, n.x1, n.y1, n.x2 - n.x1, n.y2 - n.y1);
    for (std::size_t c = 0; c < columns; ++c) {
      double x = n.x1 + n.caption_width + cell_w * static_cast<double>(c);
      cairo_move_to(cr_, x, n.y1);
      cairo_line_to(cr_, x, n.y2);
    }
    set_rgba(cr_, {0.70, 0.73, 0.78, 1.0});
    cairo_set_line_width(cr_, 0.7);
    cairo_stroke(cr_);
  }

  cairo_t* cr_;
  const FrameView& view_;
  double now_;
  PointerLook pointer_;
  cairo_font_face_t* regular_;
  cairo_font_face_t* bold_;
  std::vector<std::unique_ptr<LayerCache>>* layers_;
  int hot_;
  cairo_font_options_t* options_;

  bool moving(const std::vector<int>& anims) const {
    if (view_.state == nullptr) return false;
    for (int a : anims)
      if (view_.state->progress(*view_.scene, a, now_) < 1.0) return true;
    return false;
  }

  // Draws a layer group from its picture, redrawing the picture first when
  // what the group reads has changed. False: draw it directly (it is
  // animating, or there is nowhere to keep it).
  bool draw_layer(const Node& n) {
    if (layers_ == nullptr || n.layer < 0 || static_cast<std::size_t>(n.layer) >= layers_->size())
      return false;
    if (moving(n.layer_anims)) return false;
    double dx1 = n.lx1, dy1 = n.ly2, dx2 = n.lx2, dy2 = n.ly1;
    cairo_user_to_device(cr_, &dx1, &dy1);
    cairo_user_to_device(cr_, &dx2, &dy2);
    int x = static_cast<int>(std::floor(std::min(dx1, dx2)));
    int y = static_cast<int>(std::floor(std::min(dy1, dy2)));
    int w = static_cast<int>(std::ceil(std::max(dx1, dx2))) - x;
    int h = static_cast<int>(std::ceil(std::max(dy1, dy2))) - y;
    if (w < 1 || h < 1) return true;
    key_.clear();
    auto put = [&](const void* p, std::size_t size) {
      const auto* b = static_cast<const unsigned char*>(p);
      key_.insert(key_.end(), b, b + size);
    };
    for (int var : n.layer_vars) {
      const unsigned char* bytes = record(view_, var);
      unsigned char bound = bytes != nullptr ? 1 : 0;
      put(&bound, 1);
      if (bytes != nullptr) put(bytes, record_size(kind_of(view_, var)));
    }
    std::uint64_t flags = view_.state != nullptr ? view_.state->flags & n.layer_flags : 0;
    put(&flags, sizeof flags);
    int hot = n.layer_buttons ? hot_ : -2;
    put(&hot, sizeof hot);
    cairo_matrix_t m;
    cairo_get_matrix(cr_, &m);
    put(&m, sizeof m);
    LayerCache& cache = *(*layers_)[static_cast<std::size_t>(n.layer)];
    if (cache.surface == nullptr || cache.key != key_ || cache.x != x || cache.y != y ||
        cache.width != w || cache.height != h) {
      bool fresh = cache.surface == nullptr || cache.width != w || cache.height != h;
      if (fresh) {
        if (cache.surface != nullptr) cairo_surface_destroy(cache.surface);
        cache.surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, w, h);  // transparent
      }
      cairo_t* lc = cairo_create(cache.surface);
      if (!fresh) {
        cairo_set_operator(lc, CAIRO_OPERATOR_CLEAR);
        cairo_paint(lc);
        cairo_set_operator(lc, CAIRO_OPERATOR_OVER);
      }
      m.x0 -= x;
      m.y0 -= y;
      cairo_set_matrix(lc, &m);
      cairo_set_font_options(lc, options_);
      Painter inner(lc, view_, now_, pointer_, regular_, bold_, nullptr, hot_, options_);
      for (const Node& child : n.children) inner.node(child);
      cairo_destroy(lc);
      cache.key = key_;
      cache.x = x;
      cache.y = y;
      cache.width = w;
      cache.height = h;
    }
    cairo_save(cr_);
    cairo_identity_matrix(cr_);
    cairo_set_source_surface(cr_, cache.surface, x, y);
    cairo_rectangle(cr_, x, y, w, h);
    cairo_fill(cr_);
    cairo_restore(cr_);
    return true;
  }

  std::vector<unsigned char> key_;

 public:
  void marker(const Node& n, bool on) {
    Point at = n.points.empty() ? Point{} : n.points.front();
    cairo_new_path(cr_);
    if (on) {
      cairo_arc(cr_, at.x, at.y, 5.5, 0.0, 2.0 * M_PI);
      set_rgba(cr_, {0.85, 0.20, 0.16, 0.25});
      cairo_fill(cr_);
      cairo_arc(cr_, at.x, at.y, 3.2, 0.0, 2.0 * M_PI);
      set_rgba(cr_, {0.80, 0.16, 0.12, 1.0});
      cairo_fill_preserve(cr_);
      set_rgba(cr_, {1.0, 1.0, 1.0, 1.0});
      cairo_set_line_width(cr_, 1.0);
      cairo_stroke(cr_);
      std::string label = compose(view_, n.text);
      text(label, n.label_at.x, n.label_at.y, n.size, true, Align::Left, kLook.text, 0.0);
      text(n.detail, n.label_at.x, n.label_at.y - n.size * 1.3, n.size, false, Align::Left,
           kLook.muted, 0.0);
    } else {
      cairo_arc(cr_, at.x, at.y, 2.2, 0.0, 2.0 * M_PI);
      set_rgba(cr_, {0.45, 0.48, 0.53, 1.0});
      cairo_fill(cr_);
    }
  }

  void walk_group(const Node& n) {
    if (n.layer >= 0 && draw_layer(n)) return;
    double alpha = 1.0;
    if (n.fade_anim >= 0 && view_.state != nullptr)
      alpha = view_.state->progress(*view_.scene, n.fade_anim, now_);
    if (alpha <= 0.0) return;
    double ease = 0.0;
    if (n.slide_anim >= 0 && view_.state != nullptr) {
      double rest = 1.0 - view_.state->progress(*view_.scene, n.slide_anim, now_);
      ease = rest * rest * rest;  // eases out: fast start, soft landing
    }
    bool moved = ease > 0.0;
    bool faded = alpha < 1.0;
    if (moved || faded) cairo_save(cr_);
    if (moved) cairo_translate(cr_, n.slide_from.x * ease, n.slide_from.y * ease);
    if (faded) cairo_push_group(cr_);
    for (const Node& child : n.children) node(child);
    if (faded) {
      cairo_pop_group_to_source(cr_);
      cairo_paint_with_alpha(cr_, alpha);
    }
    if (moved || faded) cairo_restore(cr_);
  }
};

}  // namespace

struct SceneRenderer::Compiled {
  double width = 800.0;
  double height = 600.0;
  std::vector<Node> nodes;
  std::vector<std::string> problems;
  cairo_font_face_t* regular = nullptr;
  cairo_font_face_t* bold = nullptr;
  cairo_font_options_t* options = nullptr;
  // Pictures of the layer groups, redrawn when their inputs change.
  mutable std::vector<std::unique_ptr<LayerCache>> layers;

  ~Compiled() {
    if (regular != nullptr) cairo_font_face_destroy(regular);
    if (bold != nullptr) cairo_font_face_destroy(bold);
    if (options != nullptr) cairo_font_options_destroy(options);
  }
};

SceneRenderer::SceneRenderer(const Scene& scene) : compiled_(std::make_unique<Compiled>()) {
  Compiled& c = *compiled_;
  c.width = scene.width;
  c.height = scene.height;
  c.regular =
      cairo_toy_font_face_create(kFontFamily, CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_NORMAL);
  c.bold = cairo_toy_font_face_create(kFontFamily, CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_BOLD);
  // Metrics unhinted, so that text measures the same at every window size.
  c.options = cairo_font_options_create();
  cairo_font_options_set_hint_metrics(c.options, CAIRO_HINT_METRICS_OFF);
  cairo_font_options_set_hint_style(c.options, CAIRO_HINT_STYLE_SLIGHT);
  cairo_font_options_set_antialias(c.options, CAIRO_ANTIALIAS_GRAY);

  cairo_surface_t* scratch = cairo_image_surface_create(CAIRO_FORMAT_A8, 1, 1);
  cairo_t* measure = cairo_create(scratch);
  cairo_set_font_options(measure, c.options);
  Compiler compiler(scene, c.problems, measure);
  if (scene.elements.is_array()) {
    for (std::size_t i = 0; i < scene.elements.size(); ++i)
      c.nodes.push_back(compiler.element(scene.elements[i], "elements[" + std::to_string(i) + "]"));
  }
  c.layers.resize(static_cast<std::size_t>(compiler.layers()));
  for (auto& layer : c.layers) layer = std::make_unique<LayerCache>();
  cairo_destroy(measure);
  cairo_surface_destroy(scratch);
}

SceneRenderer::~SceneRenderer() = default;

const std::vector<std::string>& SceneRenderer::problems() const {
  return compiled_->problems;
}

void SceneRenderer::draw(cairo_t* cr, int width, int height, const FrameView& view, double now,
                         const PointerLook& pointer) const {
  const Compiled& c = *compiled_;
  cairo_save(cr);
  double w = width, h = height;
  double s = std::min(w / c.width, h / c.height);
  // Letterbox bars, drawn only where the layout leaves room.
  double bar_x = (w - s * c.width) / 2.0, bar_y = (h - s * c.height) / 2.0;
  cairo_set_source_rgb(cr, 0.10, 0.11, 0.13);
  if (bar_x > 0.0) {
    cairo_rectangle(cr, 0.0, 0.0, std::ceil(bar_x), h);
    cairo_rectangle(cr, std::floor(w - bar_x), 0.0, std::ceil(bar_x), h);
  }
  if (bar_y > 0.0) {
    cairo_rectangle(cr, 0.0, 0.0, w, std::ceil(bar_y));
    cairo_rectangle(cr, 0.0, std::floor(h - bar_y), w, std::ceil(bar_y));
  }
  cairo_fill(cr);
  // Layout units, origin at the bottom-left corner, y up.
  cairo_translate(cr, (w - s * c.width) / 2.0, (h - s * c.height) / 2.0 + s * c.height);
  cairo_scale(cr, s, -s);
  cairo_rectangle(cr, 0.0, 0.0, c.width, c.height);
  cairo_clip(cr);
  cairo_set_source_rgb(cr, 0.97, 0.97, 0.95);
  cairo_paint(cr);
  cairo_set_font_options(cr, c.options);
  if (view.scene != nullptr) {
    int hot = look_key(view, pointer);
    Painter painter(cr, view, now, pointer, c.regular, c.bold, &c.layers, hot, c.options);
    for (const Node& n : c.nodes) painter.node(n);
  }
  cairo_restore(cr);
}

int SceneRenderer::look_key(const FrameView& view, const PointerLook& pointer) const {
  if (view.scene == nullptr) return -1;
  int hot = -1;
  for (const Node& n : compiled_->nodes) {
    int h = hot_button(n, view, pointer);
    if (h >= 0) hot = h;
  }
  // Sliding groups move their buttons; the look follows the layout at rest.
  return hot < 0 ? -1 : hot * 2 + (pointer.buttons == 1 ? 1 : 0);
}

bool write_scene_png(const std::string& path, const FrameView& view, int width, int height,
                     const std::string& what) {
  if (view.scene == nullptr || width < 1 || height < 1) {
    std::cerr << path << ": no scene to draw\n";
    return false;
  }
  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height);
  cairo_t* cr = cairo_create(surface);
  {
    SceneRenderer renderer(*view.scene);
    // Pictures show every animation finished.
    renderer.draw(cr, width, height, view, 1e12, PointerLook{});
  }
  cairo_destroy(cr);
  AtomicFile file(path, what);
  cairo_status_t status =
      file.ok() ? cairo_surface_write_to_png_stream(surface, &write_to_atomic_file, &file)
                : CAIRO_STATUS_WRITE_ERROR;
  cairo_surface_destroy(surface);
  if (!file.ok()) return false;  // already reported
  if (status != CAIRO_STATUS_SUCCESS) {
    std::cerr << path << ": cannot write " << what << ": " << cairo_status_to_string(status)
              << "\n";
    file.discard();
    return false;
  }
  return file.commit();
}

}  // namespace kvr
