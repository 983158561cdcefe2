#include "scene.h"

#include <algorithm>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "scene_error.h"

namespace kvr {

namespace {

using json = nlohmann::json;
using scene_detail::fail;
using scene_detail::SceneError;

const json& member(const json& object, const char* key, const std::string& where) {
  auto it = object.find(key);
  if (it == object.end()) fail(where, std::string("missing \"") + key + "\"");
  return *it;
}

std::string string_member(const json& object, const char* key, const std::string& where) {
  const json& value = member(object, key, where);
  if (!value.is_string()) fail(where, std::string("\"") + key + "\" must be a string");
  return value.get<std::string>();
}

const json& array_member(const json& object, const char* key, const std::string& where) {
  const json& value = member(object, key, where);
  if (!value.is_array()) fail(where, std::string("\"") + key + "\" must be an array");
  return value;
}

std::uint64_t flag_mask(const Scene& scene, const json& list, const std::string& where) {
  if (!list.is_array()) fail(where, "must be an array of flag names");
  std::uint64_t mask = 0;
  for (const json& item : list) {
    if (!item.is_string()) fail(where, "flag names must be strings");
    int index = scene.find_flag(item.get<std::string>());
    if (index < 0) fail(where, "unknown flag \"" + item.get<std::string>() + "\"");
    mask |= std::uint64_t{1} << index;
  }
  return mask;
}

void read_objects(Scene& scene, const json& doc) {
  const json& objects = array_member(doc, "objects", "objects");
  std::vector<std::string> seen_objects;
  for (std::size_t i = 0; i < objects.size(); ++i) {
    std::string where = "objects[" + std::to_string(i) + "]";
    const json& object = objects[i];
    if (!object.is_object()) fail(where, "must be an object");
    std::string name = string_member(object, "name", where);
    where = "object " + name;
    if (name.empty()) fail(where, "empty object name");
    if (std::find(seen_objects.begin(), seen_objects.end(), name) != seen_objects.end())
      fail(where, "object declared twice");
    seen_objects.push_back(name);
    const json& variables = array_member(object, "variables", where);
    for (const json& pair : variables) {
      if (!pair.is_array() || pair.size() != 2 || !pair[0].is_string() || !pair[1].is_string())
        fail(where, "each variable must be a pair [NAME, KIND]");
      std::string variable = pair[0].get<std::string>();
      std::string kind_text = pair[1].get<std::string>();
      std::string vwhere = "variable " + name + "." + variable;
      if (variable.empty()) fail(vwhere, "empty variable name");
      auto kind = kind_from_name(kind_text);
      if (!kind) fail(vwhere, "unknown kind \"" + kind_text + "\"");
      if (scene.find_variable(name, variable) >= 0) fail(vwhere, "declared twice");
      scene.variables.push_back({name, variable, name + "." + variable, *kind});
    }
  }
}

void read_flags_and_animations(Scene& scene, const json& doc) {
  if (auto it = doc.find("flags"); it != doc.end()) {
    if (!it->is_array()) fail("flags", "must be an array of names");
    for (const json& flag : *it) {
      if (!flag.is_string() || flag.get<std::string>().empty())
        fail("flags", "each flag must be a non-empty string");
      std::string name = flag.get<std::string>();
      if (scene.find_flag(name) >= 0) fail("flag " + name, "declared twice");
      if (scene.flags.size() == 64) fail("flags", "more than 64 flags");
      scene.flags.push_back(name);
    }
  }
  if (auto it = doc.find("animations"); it != doc.end()) {
    if (!it->is_array()) fail("animations", "must be an array");
    for (const json& anim : *it) {
      if (!anim.is_object()) fail("animations", "each animation must be an object");
      std::string name = string_member(anim, "name", "animations");
      std::string where = "animation " + name;
      if (scene.find_animation(name) >= 0) fail(where, "declared twice");
      const json& seconds = member(anim, "seconds", where);
      if (!seconds.is_number()) fail(where, "\"seconds\" must be a number");
      double value = seconds.get<double>();
      if (!(value >= 0.0 && value <= 10.0)) fail(where, "\"seconds\" must be from 0 to 10");
      scene.animations.push_back({name, value});
    }
  }
}

void read_actions(Scene& scene, const json& doc) {
  const json& actions = array_member(doc, "actions", "actions");
  for (const json& entry : actions) {
    if (!entry.is_object()) fail("actions", "each action must be an object");
    SceneAction action;
    action.name = string_member(entry, "name", "actions");
    std::string where = "action " + action.name;
    if (scene.find_action(action.name) >= 0) fail(where, "declared twice");
    for (const auto& [key, value] : entry.items()) {
      if (key == "name") continue;
      if (key == "set") {
        action.set_flags = flag_mask(scene, value, where + ": set");
      } else if (key == "clear") {
        action.clear_flags = flag_mask(scene, value, where + ": clear");
      } else if (key == "hold") {
        if (!value.is_boolean()) fail(where, "\"hold\" must be true or false");
        action.hold = value.get<bool>();
      } else if (key == "animate") {
        if (!value.is_array()) fail(where, "\"animate\" must be an array of animation names");
        for (const json& name : value) {
          int index = name.is_string() ? scene.find_animation(name.get<std::string>()) : -1;
          if (index < 0) fail(where, "unknown animation " + name.dump());
          action.animate.push_back({index});
        }
      } else {
        fail(where, "unknown member \"" + key + "\"");
      }
    }
    scene.actions.push_back(std::move(action));
  }
}

// Checks every reference inside an element tree: "$OBJ.VAR" strings, "flag"
// and "anim" members, and the kind of every element.
void check_references(const Scene& scene, const json& value, const std::string& where, int depth);

void check_element(const Scene& scene, const json& element, const std::string& where, int depth) {
  if (depth > 64) fail(where, "elements nested too deeply");
  if (!element.is_object()) fail(where, "an element must be an object");
  std::string kind = string_member(element, "kind", where);
  const auto& kinds = element_kinds();
  if (std::find(kinds.begin(), kinds.end(), kind) == kinds.end())
    fail(where, "unknown element kind \"" + kind + "\"");
  std::string here = where;
  if (auto id = element.find("id"); id != element.end() && id->is_string())
    here += " (" + id->get<std::string>() + ")";
  for (const auto& [key, value] : element.items()) {
    if (key == "children") {
      if (!value.is_array()) fail(here, "\"children\" must be an array");
      for (std::size_t i = 0; i < value.size(); ++i)
        check_element(scene, value[i], here + ".children[" + std::to_string(i) + "]", depth + 1);
    } else {
      check_references(scene, value, here + "." + key, depth + 1);
    }
  }
}

void check_references(const Scene& scene, const json& value, const std::string& where, int depth) {
  if (depth > 64) fail(where, "nested too deeply");
  if (value.is_string()) {
    const std::string& text = value.get_ref<const std::string&>();
    if (text.size() >= 1 && text[0] == '$' && !(text.size() >= 2 && text[1] == '$')) {
      if (scene.find_variable(std::string_view(text).substr(1)) < 0)
        fail(where, "names undeclared variable \"" + text.substr(1) + "\"");
    }
  } else if (value.is_array()) {
    for (std::size_t i = 0; i < value.size(); ++i)
      check_references(scene, value[i], where + "[" + std::to_string(i) + "]", depth + 1);
  } else if (value.is_object()) {
    // An element nested inside a member (a template, a marker) is checked whole.
    if (value.contains("kind")) {
      check_element(scene, value, where, depth + 1);
      return;
    }
    for (const auto& [key, item] : value.items()) {
      std::string inner = where + "." + key;
      if (key == "flag") {
        if (!item.is_string() || scene.find_flag(item.get<std::string>()) < 0)
          fail(inner, "unknown flag " + item.dump());
      } else if (key == "anim") {
        if (!item.is_string() || scene.find_animation(item.get<std::string>()) < 0)
          fail(inner, "unknown animation " + item.dump());
      } else {
        check_references(scene, item, inner, depth + 1);
      }
    }
  }
}

Scene build_scene(std::string_view text, const std::string& name) {
  json doc = json::parse(text.begin(), text.end());
  if (!doc.is_object()) fail("document", "must be a JSON object");
  if (string_member(doc, "format", "document") != "kvr-scene")
    fail("format", "must be \"kvr-scene\"");
  const json& version = member(doc, "version", "document");
  if (!version.is_number_integer() || version.get<long long>() != 1)
    fail("version", "only version 1 is known");
  Scene scene;
  scene.file = name;
  if (auto layout = doc.find("layout"); layout != doc.end()) {
    const json& w = member(*layout, "width", "layout");
    const json& h = member(*layout, "height", "layout");
    if (!w.is_number_integer() || !h.is_number_integer() || w.get<long long>() < 1 ||
        h.get<long long>() < 1 || w.get<long long>() > 10000 || h.get<long long>() > 10000)
      fail("layout", "width and height must be whole numbers from 1 to 10000");
    scene.width = w.get<int>();
    scene.height = h.get<int>();
  }
  read_objects(scene, doc);
  read_flags_and_animations(scene, doc);
  read_actions(scene, doc);
  const json& elements = array_member(doc, "elements", "document");
  for (std::size_t i = 0; i < elements.size(); ++i)
    check_element(scene, elements[i], "elements[" + std::to_string(i) + "]", 0);
  scene.elements = elements;
  scene_detail::read_sections(scene, doc);
  // The report's page holds elements and bound texts like the screen.
  if (!scene.report.is_null()) check_references(scene, scene.report, "report", 0);
  return scene;
}

}  // namespace

std::string_view kind_name(RecordKind kind) {
  switch (kind) {
    case RecordKind::Text:
      return "text";
    case RecordKind::Switch:
      return "switch";
    case RecordKind::Colour:
      return "colour";
    case RecordKind::Int32:
      return "int32";
    case RecordKind::Area8:
      return "area8";
  }
  return "?";
}

std::optional<RecordKind> kind_from_name(std::string_view name) {
  for (RecordKind kind : {RecordKind::Text, RecordKind::Switch, RecordKind::Colour,
                          RecordKind::Int32, RecordKind::Area8}) {
    if (kind_name(kind) == name) return kind;
  }
  return std::nullopt;
}

int Scene::find_variable(std::string_view object, std::string_view name) const {
  for (std::size_t i = 0; i < variables.size(); ++i) {
    if (variables[i].object == object && variables[i].name == name) return static_cast<int>(i);
  }
  return -1;
}

int Scene::find_variable(std::string_view qualified) const {
  for (std::size_t i = 0; i < variables.size(); ++i) {
    if (variables[i].qualified == qualified) return static_cast<int>(i);
  }
  return -1;
}

int Scene::find_action(std::string_view name) const {
  for (std::size_t i = 0; i < actions.size(); ++i) {
    if (actions[i].name == name) return static_cast<int>(i);
  }
  return -1;
}

int Scene::find_flag(std::string_view name) const {
  for (std::size_t i = 0; i < flags.size(); ++i) {
    if (flags[i] == name) return static_cast<int>(i);
  }
  return -1;
}

bool Scene::on_ramp(int variable) const {
  return std::find(ramp_variables.begin(), ramp_variables.end(), variable) != ramp_variables.end();
}

const ClassScale* Scene::find_class_scale(std::string_view name) const {
  for (const ClassScale& scale : class_scales)
    if (scale.name == name) return &scale;
  return nullptr;
}

int Scene::find_animation(std::string_view name) const {
  for (std::size_t i = 0; i < animations.size(); ++i) {
    if (animations[i].name == name) return static_cast<int>(i);
  }
  return -1;
}

SceneLoadResult parse_scene(std::string_view text, const std::string& name) {
  SceneLoadResult result;
  try {
    result.scene = build_scene(text, name);
  } catch (const nlohmann::json::parse_error& e) {
    // nlohmann reports "[json.exception.parse_error.101] parse error at line 3, column 7: ..."
    std::string what = e.what();
    auto at = what.find("parse error");
    result.error = name + ": " + (at == std::string::npos ? what : what.substr(at));
  } catch (const nlohmann::json::exception& e) {
    result.error = name + ": invalid scene: " + e.what();
  } catch (const SceneError& e) {
    result.error = name + ": " + e.what();
  }
  return result;
}

SceneLoadResult load_scene_file(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return {std::nullopt, path + ": cannot open the scene file"};
  std::ostringstream text;
  text << in.rdbuf();
  if (in.bad()) return {std::nullopt, path + ": cannot read the scene file"};
  return parse_scene(text.str(), path);
}

const std::vector<std::string_view>& element_kinds() {
  // The generic shapes the renderer knows. Adding a kind here means
  // teaching the renderer to draw it.
  static const std::vector<std::string_view> kinds = {
      "group",        "rect",        "polygon",       "polyline",   "circle",
      "text",         "paragraph",   "button",        "bar_chart",  "gradient_legend",
      "class_scale",  "site_marker", "table",         "comparison", "class_distance",
      "scene_region", "house_view",  "surface_marks",
  };
  return kinds;
}

void SceneState::reset(const Scene& scene) {
  flags = 0;
  animation_start.assign(scene.animations.size(), -1.0);
}

bool SceneState::play(const Scene& scene, int action, double now) {
  if (action < 0 || static_cast<std::size_t>(action) >= scene.actions.size()) return false;
  const SceneAction& a = scene.actions[static_cast<std::size_t>(action)];
  flags &= ~a.clear_flags;
  flags |= a.set_flags;
  if (animation_start.size() != scene.animations.size())
    animation_start.resize(scene.animations.size(), -1.0);
  for (const AnimationStart& start : a.animate)
    animation_start[static_cast<std::size_t>(start.animation)] = now;
  return true;
}

double SceneState::progress(const Scene& scene, int animation, double now) const {
  if (animation < 0 || static_cast<std::size_t>(animation) >= animation_start.size()) return 1.0;
  double start = animation_start[static_cast<std::size_t>(animation)];
  double seconds = scene.animations[static_cast<std::size_t>(animation)].seconds;
  if (start < 0.0 || seconds <= 0.0) return 1.0;
  double p = (now - start) / seconds;
  return p < 0.0 ? 0.0 : (p > 1.0 ? 1.0 : p);
}

}  // namespace kvr
