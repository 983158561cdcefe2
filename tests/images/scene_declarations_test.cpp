// HOME.SP1 against what the program binds, plays and clicks: every binding
// declared with its record kind, every action it plays declared, every
// drawn button on one of the program's hit rectangles.
#include <gtest/gtest.h>

#include <array>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "frame/scene_renderer.h"
#include "home_scene.h"
#include "scene.h"

namespace {

using kvr::RecordKind;

kvr::Scene load_home() {
  kvr::SceneLoadResult r = kvr::load_scene_file(MAISON_SCENE_FILE);
  EXPECT_TRUE(r.scene.has_value()) << r.error;
  return r.scene ? *r.scene : kvr::Scene{};
}

struct Binding {
  const char* object;
  const char* variable;
  RecordKind kind;
};

constexpr RecordKind T = RecordKind::Text, S = RecordKind::Switch, C = RecordKind::Colour,
                     I = RecordKind::Int32, A = RecordKind::Area8;

// The program's 95 bindings, in its binding order.
// clang-format off
const Binding kBindings[] = {
    {"HOME", "TALBRIK", S},    {"HOME", "TALROND", S},    {"HOME", "TALOBOIS", S},
    {"HOME", "TALFENT", S},    {"HOME", "TALMRSOL", S},   {"HOME", "TALFNSOL", S},
    {"HOME", "TEMPEXT", T},    {"HOME", "TEMPCINQ", T},   {"HOME", "TEMPDIX", T},
    {"HOME", "TALPACBA", S},   {"HOME", "TALPACHO", S},   {"HOME", "TALJURBA", S},
    {"HOME", "TALJURHO", S},   {"HOME", "TALALPBA", S},   {"HOME", "TALALPHO", S},
    {"HOME", "TALREST", S},    {"FONDRES", "TALTAB", S},  {"FONDRES", "TALRESK", S},
    {"FONDRES", "TALRESD", S}, {"FONDRES", "TALRESW", S}, {"FONDRES", "TALRESAN", S},
    {"HOME", "TALCAM", S},     {"HOME", "COLMUR", C},     {"HOME", "COLPLAN", C},
    {"HOME", "COLPLAF", C},    {"HOME", "COLFEN", C},     {"HOME", "COLPORTE", C},
    {"HOME", "TLTOISOL", S},   {"DECBS1A", "colvis0", I}, {"DECBS1A", "colvis1", I},
    {"DECBS1A", "colvis2", I}, {"DECBS1A", "colvis3", I}, {"DECBS1A", "colvis4", I},
    {"DECBS1A", "colvis5", I}, {"DECBS1A", "colvis6", I}, {"HOMBASE", "TALMUR", S},
    {"HOMBASE", "TALPLAN", S}, {"HOMBASE", "TALPLAF", S}, {"HOMBASE", "TALSSOL", S},
    {"HOMBASE", "TALFEN", S},  {"HOMBASE", "TALTEMP", S}, {"HOMBASE", "TALVMC", S},
    {"HOMBASE", "TALLOC", S},  {"HOMBASE", "TALMRSOL", S}, {"HOMBASE", "TALFNSOL", S},
    {"HOMBASE", "TALFENT", S}, {"HOMURS", "MURBORD", C},  {"HOMURS", "MURFOND", C},
    {"HOMURS", "MURSOMBR", C}, {"HOME", "A1", T},         {"HOME", "A2", T},
    {"HOME", "A3", T},         {"HOME", "A4", T},         {"HOME", "A5", T},
    {"HOME", "A6", T},         {"FONDRES", "A7", T},      {"FONDRES", "A8", T},
    {"FONDRES", "A9", T},      {"FONDRES", "A10", T},     {"FONDRES", "A11", T},
    {"FONDRES", "B1", T},      {"FONDRES", "B2", T},      {"FONDRES", "B3", T},
    {"FONDRES", "B4", T},      {"FONDRES", "B5", T},      {"FONDRES", "B6", T},
    {"FONDRES", "C1", T},      {"FONDRES", "C2", T},      {"FONDRES", "C3", T},
    {"FONDRES", "C4", T},      {"FONDRES", "C5", T},      {"FONDRES", "C6", T},
    {"FONDRES", "C7", T},      {"FONDRES", "D1", T},      {"FONDRES", "D2", T},
    {"FONDRES", "D3", T},      {"FONDRES", "D4", T},      {"FONDRES", "D5", T},
    {"FONDRES", "D6", T},      {"FONDRES", "D7", T},      {"FONDRES", "E1", T},
    {"FONDRES", "E2", T},      {"FONDRES", "E3", T},      {"FONDRES", "E4", T},
    {"FONDRES", "E5", T},      {"FONDRES", "E6", T},      {"FONDRES", "F1", T},
    {"FONDRES", "F2", T},      {"FONDRES", "F3", T},      {"FONDRES", "F4", T},
    {"FONDRES", "F5", T},      {"FONDRES", "F6", T},      {"FONDRES", "G1", T},
    {"FONDRES", "KLASS", T},   {"DECBS2A", "TALNUM", A},
};
// clang-format on

TEST(HomeScene, DeclaresExactlyTheProgramsBindingsWithTheirKinds) {
  kvr::Scene scene = load_home();
  ASSERT_EQ(std::size(kBindings), 95u);
  std::set<std::tuple<std::string, std::string, RecordKind>> expected, declared;
  for (const Binding& b : kBindings) {
    expected.insert({b.object, b.variable, b.kind});
    int index = scene.find_variable(b.object, b.variable);
    ASSERT_GE(index, 0) << b.object << "." << b.variable << " is not declared";
    EXPECT_EQ(scene.variables[static_cast<std::size_t>(index)].kind, b.kind)
        << b.object << "." << b.variable;
  }
  for (const kvr::SceneVariable& v : scene.variables) declared.insert({v.object, v.name, v.kind});
  EXPECT_EQ(declared, expected);
  std::set<std::string> objects;
  for (const kvr::SceneVariable& v : scene.variables) objects.insert(v.object);
  EXPECT_EQ(objects,
            (std::set<std::string>{"HOME", "FONDRES", "HOMBASE", "HOMURS", "DECBS1A", "DECBS2A"}));
}

TEST(HomeScene, DeclaresEveryActionTheProgramPlaysWithHoldOnlyOnPages) {
  kvr::Scene scene = load_home();
  for (const char* name : {"INHOME", "HOME", "DECDROIT", "BANDO", "USE", "FONC", "REM", "DECOR",
                           "MENUVISU", "NORMAL", "CAMERA"}) {
    int index = scene.find_action(name);
    ASSERT_GE(index, 0) << name;
    bool page = std::string(name) == "USE" || std::string(name) == "FONC" ||
                std::string(name) == "REM" || std::string(name) == "DECOR";
    EXPECT_EQ(scene.actions[static_cast<std::size_t>(index)].hold, page) << name;
  }
}

// Plays actions in order on a fresh state and returns the flags left on.
std::uint64_t after(const kvr::Scene& scene, std::initializer_list<const char*> actions) {
  kvr::SceneState state;
  state.reset(scene);
  for (const char* a : actions) EXPECT_TRUE(state.play(scene, scene.find_action(a), 0.0)) << a;
  return state.flags;
}

TEST(HomeScene, OverlaysEndWhereTheProgramGoesBackToItsFrame) {
  kvr::Scene scene = load_home();
  // The results-view menu is gone once "HOME" is played again.
  EXPECT_NE(after(scene, {"INHOME", "HOME", "MENUVISU"}), after(scene, {"INHOME", "HOME"}));
  EXPECT_EQ(after(scene, {"INHOME", "HOME", "MENUVISU", "MENUVISU", "HOME"}),
            after(scene, {"INHOME", "HOME"}));
  // Every outcome of the intro choice ends with "DECDROIT" on the plain scene.
  std::uint64_t plain = after(scene, {"INHOME", "HOME"});
  for (const char* choice : {"BANDO", "USE", "FONC", "REM", "DECOR"}) {
    EXPECT_NE(after(scene, {"INHOME", "HOME", "BANDO", choice}), plain) << choice;
    EXPECT_EQ(after(scene, {"INHOME", "HOME", "BANDO", choice, "DECDROIT"}), plain) << choice;
  }
  // The opening look lasts until the first frame.
  EXPECT_NE(after(scene, {"INHOME"}), plain);
}

// Collects the boxes of every button in an element tree: the program's
// buttons, or those the runtime keeps or translates (command, press_as).
void buttons(const nlohmann::json& e, bool owned, std::vector<std::array<int, 4>>& out) {
  if (e.is_array()) {
    for (const auto& c : e) buttons(c, owned, out);
    return;
  }
  if (!e.is_object()) return;
  bool runtime_owned = e.contains("command") || e.contains("press_as");
  if (e.value("kind", "") == "button" && runtime_owned == owned) {
    const auto& b = e["box"];
    out.push_back({b[0].get<int>(), b[1].get<int>(), b[2].get<int>(), b[3].get<int>()});
  }
  if (e.contains("children")) buttons(e["children"], owned, out);
}

TEST(HomeScene, EveryButtonSitsOnAHitRectangleOfTheProgram) {
  kvr::Scene scene = load_home();
  std::set<std::array<int, 4>> hit = test::program_hit_rectangles();
  ASSERT_EQ(hit.size(), 40u);
  std::vector<std::array<int, 4>> drawn;
  buttons(scene.elements, false, drawn);
  std::set<std::array<int, 4>> covered;
  for (const auto& box : drawn) {
    EXPECT_TRUE(hit.count(box)) << "button at " << box[0] << "," << box[1] << " .. " << box[2]
                                << "," << box[3] << " is on no hit rectangle";
    covered.insert(box);
  }
  EXPECT_EQ(covered, hit) << "some hit rectangle has no button drawn on it";
}

TEST(HomeScene, RuntimeOwnedButtonsLieOnNoHitRectangleNorOnEachOther) {
  kvr::Scene scene = load_home();
  std::vector<std::array<int, 4>> owned;
  buttons(scene.elements, true, owned);
  // Référence, ×, Rapport, Fermer, Le décor seul, Composition, Condensation,
  // Pistes, − and + of the condensation card, Couleurs (two looks).
  EXPECT_GE(owned.size(), 12u);
  auto apart = [](const std::array<int, 4>& a, const std::array<int, 4>& b) {
    return a[2] <= b[0] || b[2] <= a[0] || a[3] <= b[1] || b[3] <= a[1];
  };
  for (std::size_t i = 0; i < owned.size(); ++i) {
    const auto& box = owned[i];
    for (const auto& hit : test::program_hit_rectangles()) {
      EXPECT_TRUE(apart(box, hit))
          << "runtime button at " << box[0] << "," << box[1]
          << " overlaps the program's rectangle at " << hit[0] << "," << hit[1];
    }
    // Two looks of one button (shown on opposite conditions) share a box;
    // other buttons keep apart.
    for (std::size_t j = i + 1; j < owned.size(); ++j)
      EXPECT_TRUE(owned[j] == box || apart(owned[j], box))
          << "runtime buttons at " << box[0] << "," << box[1] << " and " << owned[j][0] << ","
          << owned[j][1] << " overlap";
  }
}

TEST(HomeScene, RendererUnderstandsEveryElement) {
  kvr::Scene scene = load_home();
  kvr::SceneRenderer renderer(scene);
  for (const std::string& p : renderer.problems()) ADD_FAILURE() << p;
}

}  // namespace
