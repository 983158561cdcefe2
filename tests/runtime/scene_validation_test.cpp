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

TEST(SceneValidation, MissingFileIsNamed) {
  auto r = kvr::load_scene_file("/nonexistent/HOME.SP1");
  ASSERT_FALSE(r.scene);
  EXPECT_EQ(r.error, "/nonexistent/HOME.SP1: cannot open the scene file");
}

}  // namespace
