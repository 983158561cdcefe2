// Runs of maison whose expectations are computed here rather than written
// down: the thermal results of a click, the configuration copies, the ends.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>

#include "harness.h"

namespace {

using e2e::json;
using e2e::text;
namespace fs = std::filesystem;

// printf with "%3.Nf", as the program formats its result fields.
std::string fixed(int decimals, double value) {
  char buffer[64];
  switch (decimals) {
    case 0:
      std::snprintf(buffer, sizeof buffer, "%3.0f", value);
      break;
    case 2:
      std::snprintf(buffer, sizeof buffer, "%3.2f", value);
      break;
    default:
      std::snprintf(buffer, sizeof buffer, "%3.1f", value);
      break;
  }
  return buffer;
}

// The house of the test: start values except for the wall layers given.
struct WallResults {
  std::string b1, d1, g1;
};

WallResults house_with_wall(double insulation_depth, double insulation_lambda,
                            double lining_depth) {
  const double wall_r = 0.105 / 1.0 + insulation_depth / insulation_lambda +
                        lining_depth * 1.7543859649122808 + 0.0 * 1.4285714285714286 + 0.17;
  const double wall_u = 1.0 / wall_r;
  const double window_area = 7.199999999999999 + 2.4 * 1.0;
  const double wall_area = (96.0 - window_area) - 2.0;
  const double floor_u = 1.0 / (0.0 / 1000000.0 + 0.1 / 1.65 + 0.22);
  const double floor_factor = floor_u <= 0.6 ? 0.85 : (floor_u < 2.4 ? 0.75 : 0.65);
  const double ceiling_u = 1.0 / (0.0 / 1000000.0 + 0.1 / 1.65 + 0.18);
  const double ceiling_factor = ceiling_u <= 0.6 ? 0.95 : (ceiling_u < 2.4 ? 0.9 : 0.85);
  const double wall_h = wall_u * wall_area;
  const double total_h = 1.0 * 81.6 + ceiling_factor * ceiling_u * 100.0 +
                         floor_factor * floor_u * 100.0 + 5.05 * window_area + wall_h +
                         5.405405405405405;
  const double delta = 20.0 - -2.0;
  return {fixed(2, wall_u), fixed(0, wall_h * delta), fixed(0, 1700.0 * total_h * 0.024)};
}

TEST(Maison, StartHouseResultsAppearInTheFirstFrame) {
  e2e::Options options;
  options.code = "1234";
  options.script = "0 0 0\n";
  e2e::Run run = e2e::run_maison(options);
  ASSERT_EQ(run.status, 0) << run.stderr_text;
  WallResults expected = house_with_wall(0.0, 1000000.0, 0.0);
  auto state = run.final_state();
  EXPECT_EQ(text(state["FONDRES.B1"]), expected.b1);
  EXPECT_EQ(text(state["FONDRES.D1"]), expected.d1);
  EXPECT_EQ(text(state["FONDRES.G1"]), expected.g1);
  EXPECT_EQ(text(state["FONDRES.KLASS"]), "F");  // 419 kWh/m2 lies between 331 and 450
}

// The road of one click: Walls panel, row 3 plus, row 4 plus.
TEST(Maison, RoadOfOneClick) {
  e2e::Options options;
  options.code = "1234";
  options.script =
      "230 92 1\n230 92 0\n"    // Walls menu button
      "775 389 1\n775 389 0\n"  // row 3 plus: insulation "laine de verre"
      "775 329 1\n775 329 0\n"  // row 4 plus: 0.1 m of it
      "0 0 0\n";
  e2e::Run run = e2e::run_maison(options);
  ASSERT_EQ(run.status, 0) << run.stderr_text;
  auto execs = run.execs();
  // INHOME, then two "HOME" per frame: frame n ends at exec 2n.
  ASSERT_GE(execs.size(), 9U);
  std::vector<std::size_t> frame_end;
  for (std::size_t i = 0; i + 1 < execs.size(); ++i) {
    if (execs[i]["action"] == "HOME" && execs[i + 1]["action"] == "HOME") {
      frame_end.push_back(i + 1);
      ++i;
    }
  }
  ASSERT_GE(frame_end.size(), 3U);

  WallResults bare = house_with_wall(0.0, 1000000.0, 0.0);
  WallResults insulated = house_with_wall(0.1, 0.039, 0.02);
  auto after_walls = run.state_after(frame_end[0]);
  EXPECT_EQ(text(after_walls["HOME.A3"]), "sans");
  EXPECT_EQ(text(after_walls["FONDRES.B1"]), bare.b1);

  auto after_row3 = run.state_after(frame_end[1]);
  EXPECT_EQ(text(after_row3["HOME.A3"]), "laine de verre");
  EXPECT_EQ(text(after_row3["HOME.A4"]), "0.000");
  EXPECT_EQ(text(after_row3["FONDRES.B1"]), bare.b1);  // no thickness yet

  // Only the frame of the row-3 click changes A3; B1 stays.
  const json& row3_state = execs[frame_end[1] - 1]["state"];
  EXPECT_TRUE(row3_state.contains("HOME.A3"));
  EXPECT_FALSE(row3_state.contains("FONDRES.B1"));

  auto after_row4 = run.state_after(frame_end[2]);
  EXPECT_EQ(text(after_row4["HOME.A4"]), "0.100");
  EXPECT_EQ(text(after_row4["FONDRES.B1"]), insulated.b1);
  EXPECT_EQ(text(after_row4["FONDRES.D1"]), insulated.d1);
  EXPECT_EQ(text(after_row4["FONDRES.G1"]), insulated.g1);
  EXPECT_NE(insulated.b1, bare.b1);
  const json& row4_state = execs[frame_end[2] - 1]["state"];
  for (const char* key : {"FONDRES.B1", "FONDRES.D1", "FONDRES.G1", "HOME.COLMUR"})
    EXPECT_TRUE(row4_state.contains(key)) << key;
}

TEST(Maison, FullTraceStatesRepeatEveryBinding) {
  e2e::Options options;
  options.code = "1234";
  options.script = "0 0 0 *2\n";
  options.trace_states = "full";
  e2e::Run run = e2e::run_maison(options);
  for (const json& line : run.execs()) EXPECT_EQ(line["state"].size(), 95U);
}

TEST(Maison, BindingsNumberNinetyTwoRecordsUnderNinetyFiveNames) {
  e2e::Options options;
  options.code = "1234";
  options.script = "0 0 0\n";
  e2e::Run run = e2e::run_maison(options);
  int links = 0, highest = -1;
  for (const json& line : run.trace) {
    if (line["event"] != "link") continue;
    ++links;
    EXPECT_FALSE(line.contains("known")) << line.dump();
    highest = std::max(highest, line["record"].get<int>());
  }
  EXPECT_EQ(links, 95);
  EXPECT_EQ(highest, 91);
  EXPECT_EQ(run.execs().front()["state"].size(), 95U);
}

struct CopyCase {
  const char* code;
  const char* copied;  // variant expected in kvr.ini afterwards, or nullptr
  const char* sent;
};

// How a case reads in the list of tests (CTest names the tests from it).
void PrintTo(const CopyCase& c, std::ostream* os) {
  *os << c.code << " -> " << (c.copied ? c.copied : "kvr.ini kept") << ", hands over " << c.sent;
}

class LaunchCode : public ::testing::TestWithParam<CopyCase> {};

TEST_P(LaunchCode, CopiesItsConfigurationAndHandsOver) {
  e2e::Options options;
  options.code = GetParam().code;
  options.script = "778 579 1\n778 579 0\n0 0 0\n";  // quit at once
  e2e::Run run = e2e::run_maison(options);
  ASSERT_EQ(run.status, 0) << run.stderr_text;
  std::string ini = e2e::read_file(run.app / "kvr.ini");
  std::string expected = e2e::read_file(fs::path(MAISON_DATA_DIR) /
                                        (GetParam().copied ? GetParam().copied : "kvr.ini"));
  EXPECT_EQ(ini, expected);
  ASSERT_TRUE(run.handover.has_value());
  EXPECT_EQ(*run.handover, GetParam().sent);
}

// "Copies1231": the code copies a variant; "Keeps1234": it leaves kvr.ini
// alone. A name of digits only would be taken by CTest's test discovery for
// an index and replaced with a dump of the parameter's bytes.
INSTANTIATE_TEST_SUITE_P(
    Codes, LaunchCode,
    ::testing::Values(CopyCase{"1231", "kvrbdo.ini", "1231"}, CopyCase{"1232", "kvrnu.ini", "1232"},
                      CopyCase{"1239", nullptr, "1230"}, CopyCase{"1234", nullptr, "1234"},
                      CopyCase{"5678", nullptr, "1678"}),
    [](const ::testing::TestParamInfo<CopyCase>& param_info) {
      return std::string(param_info.param.copied ? "Copies" : "Keeps") + param_info.param.code;
    });

TEST(Maison, MissingSceneStillEndsThroughTheHandOver) {
  e2e::Options options;
  options.code = "1234";
  options.script = "0 0 0 *100\n";
  options.with_scene = false;
  e2e::Run run = e2e::run_maison(options);
  EXPECT_EQ(run.status, 0);
  EXPECT_NE(run.stderr_text.find("HOME.SP1: cannot open the scene file"), std::string::npos)
      << run.stderr_text;
  ASSERT_TRUE(run.handover.has_value());
  EXPECT_EQ(*run.handover, "1234");
  ASSERT_GE(run.trace.size(), 2U);
  EXPECT_EQ(run.trace[1]["event"], "load");
  EXPECT_EQ(run.trace[1]["ok"], false);
  EXPECT_EQ(run.count("HOME"), 2U);  // the first frame ends the run
  EXPECT_EQ(run.trace.back()["event"], "end");
}

TEST(Maison, NoScriptRunsOneFrame) {
  e2e::Options options;
  options.code = "1234";
  options.with_script = false;
  e2e::Run run = e2e::run_maison(options);
  EXPECT_EQ(run.status, 0) << run.stderr_text;
  EXPECT_EQ(run.count("HOME"), 2U);
  ASSERT_TRUE(run.handover.has_value());
}

TEST(Maison, IdleScriptOfNStatesRunsNFrames) {
  e2e::Options options;
  options.code = "1234";
  options.script = "400 300 0 *250\n";
  e2e::Run run = e2e::run_maison(options);
  EXPECT_EQ(run.status, 0) << run.stderr_text;
  EXPECT_EQ(run.count("HOME"), 500U);
}

}  // namespace
