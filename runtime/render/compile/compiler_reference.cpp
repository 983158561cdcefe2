// The members that read the reference and the scene's class scales, the
// runtime's own buttons and focus, and the report page's own kinds.
#include <algorithm>

#include "compile/compiler.h"

namespace kvr::render {

void ElementCompiler::button_action(const json& e, Node& node, const std::string& where) {
  if (auto it = e.find("focus"); it != e.end()) {
    if (!it->is_number_integer() || it->get<long long>() < 0 || it->get<long long>() > 999) {
      problem(where, "\"focus\" must be a whole number from 0 to 999");
    } else {
      node.focus = it->get<int>();
    }
  }
  node.focus_scope = scope_;
  bool has_command = e.contains("command");
  bool has_press = e.contains("press_as");
  if (has_command && has_press) problem(where, "a button has either \"command\" or \"press_as\"");
  if (has_command) {
    const json& name = e["command"];
    std::optional<Command> command =
        name.is_string() ? command_from_name(name.get<std::string>()) : std::nullopt;
    if (!command) {
      problem(where, "unknown command " + name.dump());
    } else {
      node.action.kind = ButtonAction::Kind::Command;
      node.action.command = *command;
    }
  } else if (has_press) {
    const json& state = e["press_as"];
    if (!state.is_number_integer() || state.get<long long>() < 1 || state.get<long long>() > 1000) {
      problem(where, "\"press_as\" must be a button state from 1 to 1000");
    } else {
      node.action.kind = ButtonAction::Kind::PressAs;
      node.action.state = state.get<std::int32_t>();
    }
    if (e.contains("press_at")) {
      Point at = point(e["press_at"], where + ".press_at");
      node.action.at_point = true;
      node.action.x = static_cast<std::int32_t>(at.x);
      node.action.y = static_cast<std::int32_t>(at.y);
    }
  } else if (e.contains("press_at")) {
    problem(where, "\"press_at\" needs \"press_as\"");
  }
  if (node.focus >= 0 && (node.style == ButtonStyle::Disabled || node.style == ButtonStyle::Inert))
    problem(where, "a disabled or inert button cannot take the focus");
}

void ElementCompiler::focus_scope(const json& e, Node& node, const std::string& where) {
  auto it = e.find("focus_scope");
  if (it == e.end()) return;
  if (!it->is_boolean()) {
    problem(where, "\"focus_scope\" must be true or false");
    return;
  }
  if (!it->get<bool>()) return;
  node.is_scope = true;
  node.focus_scope = scopes_++;
}

void ElementCompiler::use_class_scale(const json& e, Node& node, const std::string& where) {
  const json& name = e["scale"];
  const ClassScale* scale =
      name.is_string() ? scene_.find_class_scale(name.get<std::string>()) : nullptr;
  if (scale == nullptr) {
    problem(where, "no class scale named " + name.dump() + " is declared");
    return;
  }
  node.letters = scale->letters;
  node.bounds = scale->upper_bounds;
  node.divisor = scale->divisor;
  node.unit = scale->unit;
  node.colours.clear();
  for (const json& c : scale->colours) {
    Rgba rgba;
    if (!literal_colour(c, rgba)) problem(where, "class scale colours must be literal colours");
    node.colours.push_back(rgba);
  }
  node.cividis_colours.clear();
  for (const json& c : scale->cividis_colours) {
    Rgba rgba;
    if (!literal_colour(c, rgba)) problem(where, "class scale colours must be literal colours");
    node.cividis_colours.push_back(rgba);
  }
}

void ElementCompiler::comparison(const json& e, Node& node, const std::string& where) {
  if (!e.contains("current") || !e.contains("reference")) {
    problem(where, "a comparison needs \"current\" and \"reference\"");
    return;
  }
  node.current = part(e["current"], where + ".current");
  node.reference = part(e["reference"], where + ".reference");
  node.has_reference = true;
  node.unit = e.value("unit", "");
  node.lower_is_better = e.value("lower_is_better", true);
  node.better = paint(e, "better", where);
  node.worse = paint(e, "worse", where);
  if (!e.contains("size")) node.size = 10.0;
}

void ElementCompiler::class_distance(const json& e, Node& node, const std::string& where) {
  if (!e.contains("scale") || !e.contains("need") || !e.contains("class")) {
    problem(where, "a class distance needs \"scale\", \"need\" and \"class\"");
    return;
  }
  use_class_scale(e, node, where);
  node.current = part(e["need"], where + ".need");
  node.text = {part(e["class"], where + ".class")};
  node.format = e.value("format", "{distance} {unit} to {letter}");
  if (node.format.find("{distance}") == std::string::npos)
    problem(where, "\"format\" must hold {distance}");
  if (!e.contains("size")) node.size = 9.0;
}

void ElementCompiler::scene_region(const json& e, Node& node, const std::string& where) {
  Node source;
  if (e.contains("source")) box(e["source"], source, where + ".source");
  node.sx1 = source.x1;
  node.sy1 = source.y1;
  node.sx2 = source.x2;
  node.sy2 = source.y2;
  if (!(node.sx2 > node.sx1 && node.sy2 > node.sy1))
    problem(where, "a scene region needs a \"source\" box");
  if (scene_nodes_ == nullptr) {
    problem(where, "a scene region belongs on the report page");
    return;
  }
  node.source_nodes = scene_nodes_;
}

std::string ElementCompiler::date_text(const json& format, const std::string& where) {
  if (!format.is_string() || format.get<std::string>().empty()) {
    problem(where, "\"now\" takes a strftime format");
    return "";
  }
  if (report_time_ == 0) {
    problem(where, "date texts belong on the report page");
    return "";
  }
  std::tm local{};
  localtime_r(&report_time_, &local);
  char out[128];
  // The format is the scene's own; strftime cannot be checked against it.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wformat-nonliteral"
  std::size_t n = std::strftime(out, sizeof out, format.get<std::string>().c_str(), &local);
#pragma GCC diagnostic pop
  return std::string(out, n);
}

int ElementCompiler::house_view_number(const std::string& name) {
  static const char* const names[] = {"none", "composition", "moisture", "improvements"};
  for (int i = 0; i < 4; ++i)
    if (name == names[i]) return i;
  return -1;
}

void ElementCompiler::house_view(const json& e, Node& node, const std::string& where) {
  int view = e.contains("view") && e["view"].is_string()
                 ? house_view_number(e["view"].get<std::string>())
                 : -1;
  if (view <= 0) {
    problem(where, "view must be composition, moisture or improvements");
    view = 1;
  }
  node.house_view = static_cast<std::uint8_t>(view);
  if (e.contains("tabs") && e["tabs"].is_array()) {
    for (const json& t : e["tabs"])
      if (t.is_number()) node.tabs.push_back(t.get<double>());
  }
  if (node.x2 <= node.x1 || node.y2 <= node.y1) problem(where, "a house view needs a box");
}

void ElementCompiler::surface_marks(const json& e, Node& node, const std::string& where) {
  static const char* const names[] = {"walls", "windows", "door", "floor", "ceiling"};
  if (!e.contains("marks") || !e["marks"].is_array() || e["marks"].empty()) {
    problem(where, "surface marks need a list of marks");
    return;
  }
  const json& marks = e["marks"];
  for (std::size_t i = 0; i < marks.size(); ++i) {
    const std::string here = where + ".marks[" + std::to_string(i) + "]";
    const json& m = marks[i];
    SurfaceMark mark;
    int surface = -1;
    if (m.is_object() && m.contains("surface") && m["surface"].is_string())
      for (int s = 0; s < 5; ++s)
        if (m["surface"].get<std::string>() == names[s]) surface = s;
    if (surface < 0 || !m.contains("at")) {
      problem(here, "a mark needs a surface (walls, windows, door, floor, ceiling) and a point");
      continue;
    }
    mark.surface = static_cast<std::uint8_t>(surface);
    mark.at = point(m["at"], here + ".at");
    if (m.contains("visible")) {
      mark.visible = condition(m["visible"], here + ".visible");
      mark.has_visible = true;
    }
    node.marks.push_back(std::move(mark));
  }
}

}  // namespace kvr::render
