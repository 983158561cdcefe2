// The scene's optional top-level sections: which records the reference
// pins, the graded scales, and the report's page.
#include <algorithm>
#include <array>
#include <cmath>
#include <string>

#include "scene_error.h"

namespace kvr::scene_detail {

namespace {

using json = nlohmann::json;

// "reference": {"object": "FONDRES"} pins every text variable of the
// object; "variables": [...] names a chosen few of it instead.
void read_reference(Scene& scene, const json& section) {
  const std::string where = "reference";
  if (!section.is_object()) fail(where, "must be an object");
  for (const auto& [key, value] : section.items())
    if (key != "object" && key != "variables") fail(where, "unknown member \"" + key + "\"");
  auto object = section.find("object");
  if (object == section.end() || !object->is_string()) fail(where, "needs \"object\", a name");
  const std::string name = object->get<std::string>();
  bool declared = std::any_of(scene.variables.begin(), scene.variables.end(),
                              [&](const SceneVariable& v) { return v.object == name; });
  if (!declared) fail(where, "object " + name + " is not declared");
  if (auto list = section.find("variables"); list != section.end()) {
    if (!list->is_array() || list->empty()) fail(where, "\"variables\" must list names");
    for (const json& v : *list) {
      int index = v.is_string() ? scene.find_variable(name, v.get<std::string>()) : -1;
      if (index < 0) fail(where, "object " + name + " declares no variable " + v.dump());
      if (std::find(scene.reference_variables.begin(), scene.reference_variables.end(), index) ==
          scene.reference_variables.end())
        scene.reference_variables.push_back(index);
    }
    return;
  }
  for (std::size_t i = 0; i < scene.variables.size(); ++i) {
    const SceneVariable& v = scene.variables[i];
    if (v.object == name && v.kind == RecordKind::Text)
      scene.reference_variables.push_back(static_cast<int>(i));
  }
  if (scene.reference_variables.empty()) fail(where, "object " + name + " has no text variable");
}

ClassScale read_class_scale(const json& entry, const std::string& at) {
  if (!entry.is_object()) fail(at, "must be an object");
  ClassScale scale;
  auto name = entry.find("name");
  if (name == entry.end() || !name->is_string() || name->get<std::string>().empty())
    fail(at, "needs \"name\"");
  scale.name = name->get<std::string>();
  const std::string where = "class scale " + scale.name;
  for (const auto& [key, value] : entry.items()) {
    if (key == "name") continue;
    if (key == "letters") {
      if (!value.is_string() || value.get<std::string>().size() < 2)
        fail(where, "\"letters\" must be a string of at least two letters");
      scale.letters = value.get<std::string>();
    } else if (key == "colours") {
      scale.colours = value;
    } else if (key == "cividis_colours") {
      scale.cividis_colours = value;
    } else if (key == "upper_bounds") {
      if (!value.is_array()) fail(where, "\"upper_bounds\" must be an array of numbers");
      for (const json& b : value) {
        if (!b.is_number()) fail(where, "\"upper_bounds\" must be an array of numbers");
        scale.upper_bounds.push_back(b.get<double>());
      }
    } else if (key == "divisor") {
      if (!value.is_number() || !(value.get<double>() > 0.0))
        fail(where, "\"divisor\" must be a number above 0");
      scale.divisor = value.get<double>();
    } else if (key == "unit") {
      if (!value.is_string()) fail(where, "\"unit\" must be a string");
      scale.unit = value.get<std::string>();
    } else {
      fail(where, "unknown member \"" + key + "\"");
    }
  }
  if (scale.letters.empty()) fail(where, "needs \"letters\"");
  if (scale.upper_bounds.size() + 1 != scale.letters.size())
    fail(where, "needs one upper bound per letter but the last");
  for (std::size_t i = 1; i < scale.upper_bounds.size(); ++i)
    if (!(scale.upper_bounds[i] > scale.upper_bounds[i - 1]))
      fail(where, "the upper bounds must grow from letter to letter");
  if (!scale.colours.is_array() || scale.colours.size() != scale.letters.size())
    fail(where, "needs one colour per letter");
  if (!scale.cividis_colours.is_null() &&
      (!scale.cividis_colours.is_array() || scale.cividis_colours.size() != scale.letters.size()))
    fail(where, "\"cividis_colours\" needs one colour per letter");
  return scale;
}

// "#rrggbb" as red, green and blue from 0 to 1.
bool hex_colour(const json& v, std::array<double, 3>& out) {
  if (!v.is_string()) return false;
  const std::string& s = v.get_ref<const std::string&>();
  if (s.size() != 7 || s[0] != '#' ||
      s.find_first_not_of("0123456789abcdefABCDEF", 1) != std::string::npos)
    return false;
  int value = std::stoi(s.substr(1), nullptr, 16);
  out = {((value >> 16) & 0xFF) / 255.0, ((value >> 8) & 0xFF) / 255.0, (value & 0xFF) / 255.0};
  return true;
}

// "colour_ramp": {"colours": ["#0000fa", ...], "variables": ["$OBJ.VAR", ...]}.
void read_colour_ramp(Scene& scene, const json& ramp) {
  const std::string where = "colour_ramp";
  if (!ramp.is_object()) fail(where, "must be an object");
  for (const auto& [key, value] : ramp.items())
    if (key != "colours" && key != "variables") fail(where, "unknown member \"" + key + "\"");
  auto colours = ramp.find("colours");
  if (colours == ramp.end() || !colours->is_array() || colours->size() < 2)
    fail(where, "needs \"colours\", at least two \"#rrggbb\"");
  for (const json& c : *colours) {
    std::array<double, 3> rgb{};
    if (!hex_colour(c, rgb)) fail(where, "not a \"#rrggbb\" colour: " + c.dump());
    scene.ramp_colours.push_back(rgb);
  }
  auto variables = ramp.find("variables");
  if (variables == ramp.end() || !variables->is_array())
    fail(where, "needs \"variables\", the colour records on the ramp");
  for (const json& v : *variables) {
    const std::string name = v.is_string() ? v.get<std::string>() : "";
    int index = name.size() > 1 && name[0] == '$' ? scene.find_variable(name.substr(1)) : -1;
    if (index < 0 || scene.variables[static_cast<std::size_t>(index)].kind != RecordKind::Colour)
      fail(where, "not a declared colour variable: " + v.dump());
    scene.ramp_variables.push_back(index);
  }
}

bool is_box(const json& v) {
  return v.is_array() && v.size() == 4 &&
         std::all_of(v.begin(), v.end(), [](const json& n) { return n.is_number(); }) &&
         v[0].get<double>() < v[2].get<double>() && v[1].get<double>() < v[3].get<double>();
}

// "grid": {"area": BOX, "views": [ids], "keep": [BOX, ...], "gap": 4,
// "min_scale": 0.45, "grow": ["left"]}.
void read_grid(const json& grid) {
  const std::string where = "grid";
  if (!grid.is_object()) fail(where, "must be an object");
  for (const auto& [key, value] : grid.items()) {
    if (key == "area") {
      if (!is_box(value)) fail(where, "\"area\" must be [x1, y1, x2, y2] with x1 < x2, y1 < y2");
    } else if (key == "views") {
      if (!value.is_array() || value.empty() ||
          !std::all_of(value.begin(), value.end(), [](const json& v) { return v.is_string(); }))
        fail(where, "\"views\" must list the ids of the result views");
    } else if (key == "keep") {
      if (!value.is_array() || !std::all_of(value.begin(), value.end(), is_box))
        fail(where, "\"keep\" must be an array of boxes [x1, y1, x2, y2]");
    } else if (key == "gap") {
      if (!value.is_number() || value.get<double>() < 0.0 || value.get<double>() > 100.0)
        fail(where, "\"gap\" must be a number from 0 to 100");
    } else if (key == "min_scale") {
      if (!value.is_number() || !(value.get<double>() > 0.0) || value.get<double>() > 1.0)
        fail(where, "\"min_scale\" must be a number above 0, at most 1");
    } else if (key == "grow") {
      static const std::string sides[] = {"left", "right", "top", "bottom"};
      if (!value.is_array() || !std::all_of(value.begin(), value.end(), [](const json& v) {
            return v.is_string() && std::find(std::begin(sides), std::end(sides),
                                              v.get<std::string>()) != std::end(sides);
          }))
        fail(where, "\"grow\" must list sides: left, right, top, bottom");
    } else {
      fail(where, "unknown member \"" + key + "\"");
    }
  }
  if (!grid.contains("area")) fail(where, "needs \"area\"");
  if (!grid.contains("views")) fail(where, "needs \"views\"");
}

void read_report_page(const json& report) {
  if (!report.is_object()) fail("report", "must be an object");
  for (const auto& [key, value] : report.items())
    if (key != "page" && key != "elements" && key != "csv")
      fail("report", "unknown member \"" + key + "\"");
  auto page = report.find("page");
  if (page == report.end() || !page->is_array() || page->size() != 2 || !(*page)[0].is_number() ||
      !(*page)[1].is_number() || !((*page)[0].get<double>() >= 10.0) ||
      !((*page)[1].get<double>() >= 10.0) || (*page)[0].get<double>() > 10000.0 ||
      (*page)[1].get<double>() > 10000.0)
    fail("report.page", "must be [width, height] in points, 10 to 10000 each");
  auto elements = report.find("elements");
  if (elements == report.end() || !elements->is_array())
    fail("report", "needs \"elements\", an array");
  if (auto csv = report.find("csv"); csv != report.end()) {
    if (!csv->is_object()) fail("report.csv", "must be an object");
    auto columns = csv->find("columns");
    auto rows = csv->find("rows");
    if (columns == csv->end() || !columns->is_array() || columns->empty())
      fail("report.csv", "needs \"columns\", the header captions");
    if (rows == csv->end() || !rows->is_array()) fail("report.csv", "needs \"rows\"");
    for (const json& row : *rows)
      if (!row.is_array() || row.size() != columns->size())
        fail("report.csv", "every row needs one cell per column");
  }
}

}  // namespace

void read_sections(Scene& scene, const json& doc) {
  if (auto it = doc.find("reference"); it != doc.end()) read_reference(scene, *it);
  if (auto it = doc.find("class_scales"); it != doc.end()) {
    if (!it->is_array()) fail("class_scales", "must be an array");
    for (std::size_t i = 0; i < it->size(); ++i) {
      ClassScale scale = read_class_scale((*it)[i], "class_scales[" + std::to_string(i) + "]");
      if (scene.find_class_scale(scale.name) != nullptr)
        fail("class scale " + scale.name, "declared twice");
      scene.class_scales.push_back(std::move(scale));
    }
  }
  if (auto it = doc.find("colour_ramp"); it != doc.end()) read_colour_ramp(scene, *it);
  if (auto it = doc.find("grid"); it != doc.end()) {
    read_grid(*it);
    scene.grid = *it;
  }
  if (auto it = doc.find("report"); it != doc.end()) {
    read_report_page(*it);
    scene.report = *it;
  }
}

}  // namespace kvr::scene_detail
