// The reference: what a scene names to pin, copies that stay as they were
// when pinned, and the scene sections that say what to pin and how to grade.
#include "reference.h"

#include <gtest/gtest.h>

#include <array>
#include <cstring>

#include "scene.h"

namespace {

const char* const base = R"({"format": "kvr-scene", "version": 1,
  "objects": [{"name": "R", "variables": [["G1", "text"], ["KLASS", "text"], ["TAB", "switch"]]},
              {"name": "H", "variables": [["A1", "text"]]}],
  "actions": [], "elements": [])";

kvr::SceneLoadResult load(const std::string& sections) {
  std::string text = base;
  text += sections + "}";
  return kvr::parse_scene(text, "t.sp1");
}

using Record = std::array<unsigned char, 80>;

void put_text(Record& r, const char* text) {
  r.fill(0);
  r[0] = static_cast<unsigned char>(std::strlen(text));
  std::memcpy(r.data() + 1, text, std::strlen(text));
}

// The pinned text of `var`, or "(none)".
std::string pinned(const kvr::Reference& ref, int var) {
  const unsigned char* bytes = ref.copy(var);
  if (bytes == nullptr) return "(none)";
  return std::string(reinterpret_cast<const char*>(bytes) + 1, bytes[0]);
}

TEST(Reference, PinsTheObjectsTextsAsTheyAreAndKeepsThemUntilPinnedAgain) {
  kvr::SceneLoadResult r = load(R"(, "reference": {"object": "R"})");
  ASSERT_TRUE(r.scene) << r.error;
  const kvr::Scene& scene = *r.scene;
  EXPECT_EQ(scene.reference_variables, (std::vector<int>{0, 1}));  // texts only
  Record need{}, klass{}, tab{}, other{};
  put_text(need, "41914");
  put_text(klass, "F");
  std::vector<const void*> records = {need.data(), klass.data(), tab.data(), other.data()};

  kvr::Reference ref;
  ref.configure(&scene);
  EXPECT_TRUE(ref.configured());
  EXPECT_FALSE(ref.pinned());
  EXPECT_TRUE(ref.copy(0) == nullptr);
  std::uint64_t before = ref.generation();
  ref.pin(records);
  EXPECT_TRUE(ref.pinned());
  EXPECT_NE(ref.generation(), before);
  put_text(need, "30026");  // the program writes on; the copy does not follow
  EXPECT_EQ(pinned(ref, 0), "41914");
  EXPECT_EQ(pinned(ref, 1), "F");
  EXPECT_TRUE(ref.copy(2) == nullptr);  // the switch is not pinned
  EXPECT_TRUE(ref.copy(3) == nullptr);  // nor another object's text
  ref.pin(records);
  EXPECT_EQ(pinned(ref, 0), "30026");
  ref.clear();
  EXPECT_FALSE(ref.pinned());
  EXPECT_TRUE(ref.copy(0) == nullptr);
}

TEST(Reference, ChosenVariablesAndUnboundRecords) {
  kvr::SceneLoadResult r = load(R"(, "reference": {"object": "R", "variables": ["KLASS"]})");
  ASSERT_TRUE(r.scene) << r.error;
  kvr::Reference ref;
  ref.configure(&*r.scene);
  std::vector<const void*> records = {nullptr, nullptr, nullptr, nullptr};
  ref.pin(records);
  EXPECT_EQ(pinned(ref, 1), "");  // an unbound text is pinned empty
  EXPECT_TRUE(ref.copy(0) == nullptr);
}

TEST(Reference, ASceneWithoutReferencePinsNothing) {
  kvr::SceneLoadResult r = load("");
  ASSERT_TRUE(r.scene) << r.error;
  kvr::Reference ref;
  ref.configure(&*r.scene);
  EXPECT_FALSE(ref.configured());
  ref.pin({nullptr, nullptr, nullptr, nullptr});
  EXPECT_FALSE(ref.pinned());
}

TEST(SceneSections, ClassScaleIsRead) {
  kvr::SceneLoadResult r = load(R"(, "class_scales": [{"name": "energy", "letters": "ABC",
      "colours": ["#00ff00", "#ffff00", "#ff0000"], "upper_bounds": [50, 90], "divisor": 100,
      "unit": "kWh/m²·an"}])");
  ASSERT_TRUE(r.scene) << r.error;
  ASSERT_EQ(r.scene->class_scales.size(), 1u);
  const kvr::ClassScale& s = r.scene->class_scales[0];
  EXPECT_EQ(r.scene->find_class_scale("energy"), &s);
  EXPECT_EQ(s.letters, "ABC");
  EXPECT_EQ(s.upper_bounds, (std::vector<double>{50, 90}));
  EXPECT_EQ(s.divisor, 100.0);
  EXPECT_TRUE(r.scene->find_class_scale("other") == nullptr);
}

TEST(SceneSections, BadSectionsNameTheirProblem) {
  struct Case {
    const char* sections;
    const char* problem;
  };
  const char* colours3 = R"("colours": ["#000000", "#000000", "#000000"])";
  for (const Case& c : {
           Case{R"(, "reference": {"object": "NOPE"})", "reference: object NOPE is not declared"},
           Case{R"(, "reference": {"object": "R", "variables": ["X"]})", "declares no variable"},
           Case{R"(, "reference": {"object": "R", "also": 1})", "unknown member \"also\""},
           Case{R"(, "class_scales": [{"name": "e", "letters": "ABC", "upper_bounds": [50], )",
                "one upper bound per letter"},
           Case{R"(, "class_scales": [{"name": "e", "letters": "ABC", "upper_bounds": [90, 50], )",
                "must grow"},
           Case{R"(, "report": {"page": [5, 800], "elements": []})", "report.page"},
           Case{R"(, "report": {"page": [595, 842], "elements": [{"kind": "wobble"}]})",
                "unknown element kind \"wobble\""},
           Case{R"(, "report": {"page": [595, 842], "elements": [], "csv": {"columns": ["a", "b"],
                "rows": [["x"]]}})",
                "one cell per column"},
           Case{R"(, "report": {"page": [595, 842], "elements": [], "csv": {"columns": ["a"],
                "rows": [["$R.NOPE"]]}})",
                "undeclared variable"},
       }) {
    std::string sections = c.sections;
    if (sections.find("class_scales") != std::string::npos)
      sections += std::string(colours3) + "}]";
    kvr::SceneLoadResult r = load(sections);
    EXPECT_FALSE(r.scene) << c.sections;
    EXPECT_NE(r.error.find(c.problem), std::string::npos) << r.error;
  }
}

}  // namespace

TEST(Reference, APinCopiesTheProgramsHouseAsItIsThen) {
  kvr::SceneLoadResult r = load(R"(, "reference": {"object": "R"})");
  ASSERT_TRUE(r.scene) << r.error;
  std::vector<const void*> records = {nullptr, nullptr, nullptr, nullptr};
  KvrHouseState live{};
  live.annual_need = 41914;
  kvr::Reference ref;
  ref.configure(&*r.scene);
  ref.pin(records);
  EXPECT_TRUE(ref.house() == nullptr);  // no house handed over yet
  ref.follow_house(&live);
  ref.pin(records);
  live.annual_need = 30026;  // the program goes on; the copy stays
  ASSERT_TRUE(ref.house() != nullptr);
  EXPECT_EQ(ref.house()->annual_need, 41914);
  ref.clear();
  EXPECT_TRUE(ref.house() == nullptr);
}
