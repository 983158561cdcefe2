// The scene of KvrRun as loaded from a scene file (HOME.SP1): its declared
// objects and variables with their record kinds, its flags and actions, and
// its element tree. The element tree stays JSON; the renderer compiles it.
#ifndef KVR_SCENE_SCENE_H
#define KVR_SCENE_SCENE_H

#include <array>
#include <cstddef>
#include <cstdint>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kvr {

// What kind of program record a scene variable is bound to.
enum class RecordKind : std::uint8_t {
  Text,    // 80 bytes: length byte N, N characters, zero byte
  Switch,  // two 32-bit floats: shown value (or a count), then 1.0
  Colour,  // three 16-bit integers: red, green, blue
  Int32,   // one 32-bit integer
  Area8,   // 8 bytes, two 32-bit words
};

constexpr std::size_t record_size(RecordKind kind) {
  switch (kind) {
    case RecordKind::Text:
      return 80;
    case RecordKind::Switch:
      return 8;
    case RecordKind::Colour:
      return 6;
    case RecordKind::Int32:
      return 4;
    case RecordKind::Area8:
      return 8;
  }
  return 0;
}

std::string_view kind_name(RecordKind kind);
std::optional<RecordKind> kind_from_name(std::string_view name);

struct SceneVariable {
  std::string object;
  std::string name;
  std::string qualified;  // "OBJECT.NAME"
  RecordKind kind;
};

// An animation started by an action: elements refer to it by name and are
// drawn at its progress (0 at the start, 1 when done).
struct AnimationStart {
  int animation;  // index into Scene::animations
};

struct SceneAction {
  std::string name;
  std::uint64_t set_flags = 0;    // flags turned on
  std::uint64_t clear_flags = 0;  // flags turned off (applied before set_flags)
  std::vector<AnimationStart> animate;
  bool hold = false;  // the window keeps this on screen until a click or a key
};

struct SceneAnimation {
  std::string name;
  double seconds = 0.0;
};

// A graded scale declared once in the scene (its "class_scales" section):
// letters from best to worst, each with its colour, and the upper bound of
// every letter but the last. The value graded is a bound number divided by
// `divisor` (a floor area, say), rounded to the whole number.
struct ClassScale {
  std::string name;
  std::string letters;               // best first, one byte each
  nlohmann::json colours;            // one colour per letter, as elements write colours
  std::vector<double> upper_bounds;  // letters.size() - 1 bounds, increasing
  double divisor = 1.0;
  std::string unit;  // shown after graded values, UTF-8
  // One colour per letter for the palette for every eye ("cividis_colours");
  // null: the letters keep `colours` there too.
  nlohmann::json cividis_colours;
};

struct Scene {
  std::string file;  // the name it was loaded from, for messages
  int width = 800;
  int height = 600;
  std::vector<SceneVariable> variables;  // in declaration order
  std::vector<std::string> flags;        // at most 64
  std::vector<SceneAnimation> animations;
  std::vector<SceneAction> actions;
  nlohmann::json elements;  // array of elements, see docs/scene-format.md
  // The variables the runtime's reference pins (the "reference" section),
  // indices into variables in declaration order; empty: nothing to pin.
  std::vector<int> reference_variables;
  std::vector<ClassScale> class_scales;
  // The program's temperature ramp ("colour_ramp" section): its colours,
  // red, green and blue from 0 to 1, evenly spaced from its cold end, and
  // the colour records that hold a point of it. In the palette for every
  // eye those records are shown at the same place of cividis.
  std::vector<std::array<double, 3>> ramp_colours;
  std::vector<int> ramp_variables;
  bool on_ramp(int variable) const;
  // Where the result views are laid out side by side ("grid" section,
  // checked for its form; the renderer resolves the views it names); null
  // when the scene has none.
  nlohmann::json grid;
  // The printable report's page ("report" section, checked like elements);
  // null when the scene has none.
  nlohmann::json report;

  // Index into variables, or -1 when OBJECT.NAME is not declared.
  int find_variable(std::string_view object, std::string_view name) const;
  int find_variable(std::string_view qualified) const;
  int find_action(std::string_view name) const;
  int find_flag(std::string_view name) const;
  int find_animation(std::string_view name) const;
  const ClassScale* find_class_scale(std::string_view name) const;
};

struct SceneLoadResult {
  std::optional<Scene> scene;
  std::string error;  // "FILE: where: problem" when scene is empty
};

// Reads and validates a scene file.
SceneLoadResult load_scene_file(const std::string& path);
// Validates scene text; `name` is used in messages only.
SceneLoadResult parse_scene(std::string_view text, const std::string& name);

// The element kinds the runtime draws. A scene that uses another kind is
// rejected at load.
const std::vector<std::string_view>& element_kinds();

// The state of a loaded scene that actions change: which flags are on and
// when each animation started (in seconds of the backend's clock; a negative
// start means "never started" and draws as finished).
struct SceneState {
  std::uint64_t flags = 0;
  std::vector<double> animation_start;

  void reset(const Scene& scene);
  // Applies an action: clears, then sets its flags, starts its animations at
  // `now`. Returns false for an action the scene does not declare.
  bool play(const Scene& scene, int action, double now);
  bool flag(int index) const { return index >= 0 && ((flags >> index) & 1U) != 0; }
  // 0..1; 1 when the animation never started or has finished.
  double progress(const Scene& scene, int animation, double now) const;
};

}  // namespace kvr

#endif
