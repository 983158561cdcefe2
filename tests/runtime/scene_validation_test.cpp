// Scene files that must be refused, with messages naming file and element.
#include <gtest/gtest.h>

#include "scene.h"

namespace {

std::string scene_with(const std::string& objects, const std::string& elements) {
  return R"({"format":"kvr-scene","version":1,"objects":)" + objects +
         R"(,"actions":[{"name":"HOME"}],"elements":)" + elements + "}";
}

const std::string objects = R"([{"name":"HOME","variables":[["A1","text"],["TALMUR","switch"]]}])";

TEST(SceneValidation, AValidSceneLoads) {
  auto r = kvr::parse_scene(
      scene_with(objects, R"([{"kind":"group","visible":{"on":"$HOME.TALMUR"},"children":[]}])"),
      "HOME.SP1");
  ASSERT_TRUE(r.scene) << r.error;
  EXPECT_EQ(r.scene->variables.size(), 2U);
}

TEST(SceneValidation, ElementNamingAnUndeclaredVariableIsNamed) {
  auto r = kvr::parse_scene(
      scene_with(
          objects,
          R"([{"kind":"group","children":[{"kind":"text","id":"wall-label","text":"$HOME.A9"}]}])"),
      "HOME.SP1");
  ASSERT_FALSE(r.scene);
  EXPECT_EQ(r.error.rfind("HOME.SP1: ", 0), 0U) << r.error;
  EXPECT_NE(r.error.find("wall-label"), std::string::npos) << r.error;
  EXPECT_NE(r.error.find("undeclared variable \"HOME.A9\""), std::string::npos) << r.error;
}

TEST(SceneValidation, DuplicateDeclarationIsNamed) {
  auto r = kvr::parse_scene(
      scene_with(R"([{"name":"HOME","variables":[["A1","text"],["A1","text"]]}])", "[]"),
      "HOME.SP1");
  ASSERT_FALSE(r.scene);
  EXPECT_EQ(r.error, "HOME.SP1: variable HOME.A1: declared twice");
  auto twice = kvr::parse_scene(
      scene_with(R"([{"name":"HOME","variables":[]},{"name":"HOME","variables":[]}])", "[]"),
      "HOME.SP1");
  EXPECT_EQ(twice.error, "HOME.SP1: object HOME: object declared twice");
}

TEST(SceneValidation, InvalidJsonGivesTheLine) {
  auto r = kvr::parse_scene("{\n\"format\": \"kvr-scene\",\n\"version\": 1,,\n}", "HOME.SP1");
  ASSERT_FALSE(r.scene);
  EXPECT_EQ(r.error.rfind("HOME.SP1: parse error at line 3", 0), 0U) << r.error;
}

TEST(SceneValidation, UnknownKindAndBadRecordKindAreRefused) {
  auto kind = kvr::parse_scene(scene_with(objects, R"([{"kind":"teapot"}])"), "S");
  EXPECT_NE(kind.error.find("elements[0]: unknown element kind \"teapot\""), std::string::npos)
      << kind.error;
  auto record =
      kvr::parse_scene(scene_with(R"([{"name":"HOME","variables":[["A1","string"]]}])", "[]"), "S");
  EXPECT_EQ(record.error, "S: variable HOME.A1: unknown kind \"string\"");
}

// The grid of result views and the temperature ramp are checked for their
// form at load, each problem naming the section.
TEST(SceneValidation, GridAndColourRampSectionsAreChecked) {
  auto with_section = [](const std::string& section) {
    std::string text =
        scene_with(R"([{"name":"HOME","variables":[["A1","text"],["COLMUR","colour"]]}])", "[]");
    text.insert(text.size() - 1, "," + section);
    return kvr::parse_scene(text, "S");
  };
  auto good = with_section(
      R"("grid":{"area":[0,0,100,100],"keep":[[10,10,20,20]],"gap":2,"min_scale":0.5,)"
      R"("grow":["left","top"],"views":["a","b"]},)"
      R"("colour_ramp":{"colours":["#0000fa","#fafa00"],"variables":["$HOME.COLMUR"]})");
  ASSERT_TRUE(good.scene) << good.error;
  EXPECT_EQ(good.scene->ramp_variables, std::vector<int>{1});
  EXPECT_TRUE(good.scene->on_ramp(1));
  EXPECT_FALSE(good.scene->on_ramp(0));
  ASSERT_EQ(good.scene->ramp_colours.size(), 2U);
  EXPECT_DOUBLE_EQ(good.scene->ramp_colours[0][2], 250.0 / 255.0);
  const std::pair<const char*, const char*> refused[] = {
      {R"("grid":{"views":["a"]})", "S: grid: needs \"area\""},
      {R"("grid":{"area":[0,0,100,100]})", "S: grid: needs \"views\""},
      {R"("grid":{"area":[100,0,0,100],"views":["a"]})", "S: grid: \"area\" must be"},
      {R"("grid":{"area":[0,0,100,100],"views":[]})", "S: grid: \"views\" must list"},
      {R"("grid":{"area":[0,0,100,100],"views":["a"],"keep":[[1,2,3]]})",
       "S: grid: \"keep\" must be"},
      {R"("grid":{"area":[0,0,100,100],"views":["a"],"min_scale":0})",
       "S: grid: \"min_scale\" must be"},
      {R"("grid":{"area":[0,0,100,100],"views":["a"],"grow":["up"]})",
       "S: grid: \"grow\" must list"},
      {R"("grid":{"area":[0,0,100,100],"views":["a"],"cells":3})",
       "S: grid: unknown member \"cells\""},
      {R"("colour_ramp":{"colours":["#0000fa"],"variables":[]})", "S: colour_ramp: needs"},
      {R"("colour_ramp":{"colours":["#0000fa","blue"],"variables":[]})",
       "S: colour_ramp: not a \"#rrggbb\" colour"},
      {R"("colour_ramp":{"colours":["#0000fa","#fafa00"],"variables":["$HOME.A1"]})",
       "S: colour_ramp: not a declared colour variable"},
  };
  for (const auto& [section, message] : refused) {
    auto r = with_section(section);
    EXPECT_FALSE(r.scene) << section;
    EXPECT_EQ(r.error.rfind(message, 0), 0U) << section << "\n" << r.error;
  }
}

TEST(SceneValidation, MissingFileIsNamed) {
  auto r = kvr::load_scene_file("/nonexistent/HOME.SP1");
  ASSERT_FALSE(r.scene);
  EXPECT_EQ(r.error, "/nonexistent/HOME.SP1: cannot open the scene file");
}

}  // namespace
