#include "compile/compiler.h"

#include <algorithm>
#include <cstdlib>
#include <string_view>
#include <utility>

#include "model/geometry.h"

namespace kvr::render {

Node ElementCompiler::element(const json& e, const std::string& where) {
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
      {"comparison", Kind::Comparison},
      {"class_distance", Kind::ClassDistance},
      {"scene_region", Kind::SceneRegion},
      {"house_view", Kind::HouseView},
      {"surface_marks", Kind::SurfaceMarks},
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
    node.text = {TextPart{e["caption"].get<std::string>(), -1, false}};
  if (e.contains("note")) node.note = parts(e["note"], here + ".note");
  if (e.contains("at")) node.label_at = point(e["at"], here + ".at");
  if (e.contains("center")) node.label_at = point(e["center"], here + ".center");

  switch (node.kind) {
    case Kind::Group:
      group_transform(e, node, here);
      focus_scope(e, node, here);
      break;
    case Kind::Paragraph:
      paragraph(e, node, here);
      break;
    case Kind::Button:
      button_style(e, node, here);
      button_action(e, node, here);
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
    case Kind::Comparison:
      comparison(e, node, here);
      break;
    case Kind::ClassDistance:
      class_distance(e, node, here);
      break;
    case Kind::SceneRegion:
      scene_region(e, node, here);
      break;
    case Kind::HouseView:
      house_view(e, node, here);
      break;
    case Kind::SurfaceMarks:
      surface_marks(e, node, here);
      break;
    default:
      break;
  }
  if (e.contains("children") && e["children"].is_array()) {
    const json& children = e["children"];
    int outer_scope = scope_;
    if (node.is_scope) scope_ = node.focus_scope;
    for (std::size_t i = 0; i < children.size(); ++i)
      node.children.push_back(element(children[i], here + ".children[" + std::to_string(i) + "]"));
    scope_ = outer_scope;
  }
  if (node.kind == Kind::Group && e.contains("layer")) layer(e, node, here);
  if (node.kind != Kind::Group) leaf(node);
  return node;
}

void ElementCompiler::problem(const std::string& where, const std::string& what) {
  problems_.push_back(scene_.file + ": " + where + ": " + what);
}

int ElementCompiler::variable(const json& v, const std::string& where) {
  if (!v.is_string()) return -1;
  const std::string& s = v.get_ref<const std::string&>();
  if (s.size() < 2 || s[0] != '$' || s[1] == '$') return -1;
  int index = scene_.find_variable(std::string_view(s).substr(1));
  if (index < 0) problem(where, "names undeclared variable " + s);
  return index;
}

double ElementCompiler::number(const json& e, const char* key, double fallback,
                               const std::string& where) {
  auto it = e.find(key);
  if (it == e.end()) return fallback;
  if (!it->is_number()) {
    problem(where, std::string("\"") + key + "\" must be a number");
    return fallback;
  }
  return it->get<double>();
}

Point ElementCompiler::point(const json& v, const std::string& where) {
  if (!v.is_array() || v.size() != 2 || !v[0].is_number() || !v[1].is_number()) {
    problem(where, "a point must be [x, y]");
    return {};
  }
  return {v[0].get<double>(), v[1].get<double>()};
}

std::vector<Point> ElementCompiler::points(const json& v, const std::string& where) {
  std::vector<Point> out;
  if (!v.is_array()) {
    problem(where, "must be an array of [x, y]");
    return out;
  }
  for (const json& p : v) out.push_back(point(p, where));
  return out;
}

void ElementCompiler::box(const json& v, Node& node, const std::string& where) {
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

bool ElementCompiler::literal_colour(const json& v, Rgba& out) {
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

Paint ElementCompiler::paint_value(const json& v, const std::string& where) {
  Paint p;
  if (v.is_string() && v.get_ref<const std::string&>() == "none") return p;
  if (v.is_string() && !v.get_ref<const std::string&>().empty() &&
      v.get_ref<const std::string&>()[0] == '$') {
    p.var = variable(v, where);
    p.set = p.var >= 0;
    p.ramp = scene_.on_ramp(p.var);
    return p;
  }
  if (v.is_object()) {
    if (v.contains("var")) {
      p.var = variable(v["var"], where);
      p.set = p.var >= 0;
      p.ramp = scene_.on_ramp(p.var);
    } else if (v.contains("colour") && literal_colour(v["colour"], p.rgba)) {
      p.set = true;
    } else {
      problem(where, "a colour object needs \"var\" or \"colour\"");
    }
    if (v.contains("cividis")) {
      p.has_cividis = literal_colour(v["cividis"], p.cividis);
      if (!p.has_cividis) problem(where, "\"cividis\" must be a literal colour");
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

Paint ElementCompiler::paint(const json& e, const char* key, const std::string& where) {
  auto it = e.find(key);
  if (it == e.end()) return {};
  return paint_value(*it, where + "." + key);
}

std::vector<TextPart> ElementCompiler::parts(const json& v, const std::string& where) {
  std::vector<TextPart> out;
  auto one = [&](const json& item) {
    if (item.is_object() && item.size() == 1 && item.contains("ref")) {
      int var = variable(item["ref"], where + ".ref");
      if (var >= 0 && scene_.variables[static_cast<std::size_t>(var)].kind != RecordKind::Text)
        problem(where, item["ref"].dump() + " is not a text record");
      if (var < 0 && !item["ref"].is_string()) problem(where, "\"ref\" names a bound text");
      out.push_back({"", var, true});
      return;
    }
    if (item.is_object() && item.size() == 1 && item.contains("now")) {
      out.push_back({date_text(item["now"], where + ".now"), -1, false});
      return;
    }
    if (!item.is_string()) {
      problem(where, "text parts must be strings, {\"ref\": ...} or {\"now\": ...}");
      return;
    }
    const std::string& s = item.get_ref<const std::string&>();
    if (s.size() >= 2 && s[0] == '$' && s[1] == '$') {
      out.push_back({s.substr(1), -1, false});
    } else if (!s.empty() && s[0] == '$') {
      int var = variable(item, where);
      if (var >= 0 && scene_.variables[static_cast<std::size_t>(var)].kind != RecordKind::Text)
        problem(where, s + " is not a text record");
      out.push_back({"", var, false});
    } else {
      out.push_back({s, -1, false});
    }
  };
  if (v.is_array()) {
    for (const json& item : v) one(item);
  } else if (v.is_object()) {
    one(v);
  } else {
    one(v);
  }
  return out;
}

TextPart ElementCompiler::part(const json& v, const std::string& where) {
  std::vector<TextPart> p = parts(v, where);
  return p.empty() ? TextPart{} : p.front();
}

Cond ElementCompiler::condition(const json& v, const std::string& where) {
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
  } else if (key == "pinned") {
    c.op = Cond::Op::Pinned;
    if (!arg.is_boolean()) problem(where, "pinned takes true or false");
    c.number = arg.is_boolean() && arg.get<bool>() ? 1.0 : 0.0;
  } else if (key == "house_view") {
    c.op = Cond::Op::HouseView;
    c.number = arg.is_string() ? house_view_number(arg.get<std::string>()) : -1;
    if (c.number < 0)
      problem(where, "house_view takes none, composition, moisture or improvements");
  } else if (key == "palette") {
    c.op = Cond::Op::Palette;
    std::string name = arg.is_string() ? arg.get<std::string>() : "";
    c.number = name == "cividis" ? 1.0 : 0.0;
    if (name != "cividis" && name != "standard")
      problem(where, "palette takes standard or cividis");
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

Hatch ElementCompiler::hatch(const json& v, const std::string& where) {
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

int ElementCompiler::animation(const json& v, const std::string& where) {
  if (!v.is_object() || !v.contains("anim") || !v["anim"].is_string()) {
    problem(where, "needs \"anim\"");
    return -1;
  }
  int index = scene_.find_animation(v["anim"].get<std::string>());
  if (index < 0) problem(where, "unknown animation " + v["anim"].dump());
  return index;
}

}  // namespace kvr::render
