// The trace writer with the binding table: value encodings, change
// detection on raw record bytes, twice-bound and unknown bindings.
#include "trace.h"

#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>

#include "bindings.h"
#include "scene.h"

namespace {

using nlohmann::json;

const char* const scene_text = R"({
  "format": "kvr-scene", "version": 1,
  "objects": [
    {"name": "HOME", "variables": [["A1", "text"], ["TALFENT", "switch"], ["COLMUR", "colour"]]},
    {"name": "HOMBASE", "variables": [["TALFENT", "switch"]]},
    {"name": "DECBS1A", "variables": [["colvis0", "int32"]]},
    {"name": "DECBS2A", "variables": [["TALNUM", "area8"]]}
  ],
  "actions": [{"name": "HOME"}],
  "elements": []
})";

class TraceTest : public ::testing::Test {
 protected:
  void SetUp() override {
    auto loaded = kvr::parse_scene(scene_text, "t.sp1");
    ASSERT_TRUE(loaded.scene) << loaded.error;
    scene_ = std::move(*loaded.scene);
    table_.reset(&scene_);
    path_ = (std::filesystem::temp_directory_path() /
             ("kvr-trace-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
              ::testing::UnitTest::GetInstance()->current_test_info()->name() + ".jsonl"))
                .string();
    // Sentinel bytes everywhere: nothing may be read as if it were zero.
    text_.fill(0xAB);
    switch_.fill(0xCD);
    colour_.fill(0xEF);
    int_.fill(0x11);
    area_.fill(0x22);
  }
  void TearDown() override { std::filesystem::remove(path_); }

  void link_all() {
    for (auto [object, variable, record] :
         std::initializer_list<std::tuple<const char*, const char*, void*>>{
             {"HOME", "A1", text_.data()},
             {"HOME", "TALFENT", switch_.data()},
             {"HOME", "COLMUR", colour_.data()},
             {"HOMBASE", "TALFENT", switch_.data()},
             {"DECBS1A", "colvis0", int_.data()},
             {"DECBS2A", "TALNUM", area_.data()},
             {"HOME", "NOPE", &unknown_}}) {
      trace_.link(table_.link(object, variable, record));
    }
  }

  std::vector<json> lines() {
    trace_.flush();
    std::vector<json> out;
    std::ifstream in(path_);
    for (std::string line; std::getline(in, line);) out.push_back(json::parse(line));
    return out;
  }

  void set_text(const char* text) {
    text_[0] = static_cast<unsigned char>(std::strlen(text));
    std::memcpy(text_.data() + 1, text, std::strlen(text) + 1);
  }

  kvr::Scene scene_;
  kvr::BindingTable table_;
  kvr::TraceWriter trace_;
  std::ostringstream errors_;
  std::string path_;
  std::array<unsigned char, 80> text_{};
  std::array<unsigned char, 8> switch_{};
  std::array<unsigned char, 6> colour_{};
  std::array<unsigned char, 4> int_{};
  std::array<unsigned char, 8> area_{};
  double unknown_ = 0;
};

TEST_F(TraceTest, LinkLinesNumberDistinctRecordsAndMarkUnknownBindings) {
  ASSERT_TRUE(trace_.open(path_, errors_));
  trace_.begin(0);
  trace_.load("t.sp1", true, "");
  link_all();
  auto l = lines();
  ASSERT_EQ(l.size(), 9U);
  EXPECT_EQ(l[0], json::parse(R"({"event":"begin","arg":0})"));
  EXPECT_EQ(l[1], json::parse(R"({"event":"load","file":"t.sp1","ok":true})"));
  EXPECT_EQ(l[2], json::parse(R"({"event":"link","object":"HOME","variable":"A1","record":0})"));
  // HOMBASE.TALFENT shares the record of HOME.TALFENT.
  EXPECT_EQ(l[5]["record"], 1);
  EXPECT_EQ(l[5]["object"], "HOMBASE");
  EXPECT_EQ(l[6]["record"], 3);
  EXPECT_FALSE(l[6].contains("known"));
  EXPECT_EQ(l[8],
            json::parse(
                R"({"event":"link","object":"HOME","variable":"NOPE","record":5,"known":false})"));
}

TEST_F(TraceTest, FirstExecHoldsEveryDeclaredBindingWithItsEncoding) {
  ASSERT_TRUE(trace_.open(path_, errors_));
  link_all();
  set_text("b\xE9ton");  // Latin-1 e acute
  float shown = 2.0f, second = 1.0f;
  std::memcpy(switch_.data(), &shown, 4);
  std::memcpy(switch_.data() + 4, &second, 4);
  std::int16_t rgb[3] = {240, -1, 84};
  std::memcpy(colour_.data(), rgb, 6);
  std::int32_t four = 4, words[2] = {-7, 123456};
  std::memcpy(int_.data(), &four, 4);
  std::memcpy(area_.data(), words, 8);
  trace_.exec("HOME", 3, 1, table_, false);
  auto l = lines();
  ASSERT_EQ(l.size(), 8U);
  const json& exec = l.back();
  EXPECT_EQ(exec["event"], "exec");
  EXPECT_EQ(exec["action"], "HOME");
  EXPECT_EQ(exec["polls"], 3);
  EXPECT_EQ(exec["result"], 1);
  EXPECT_EQ(exec["state"], json::parse(R"({
    "HOME.A1": "b\u00e9ton", "HOME.TALFENT": [2, 1], "HOME.COLMUR": [240, -1, 84],
    "HOMBASE.TALFENT": [2, 1], "DECBS1A.colvis0": 4, "DECBS2A.TALNUM": [-7, 123456]})"));
  EXPECT_EQ(errors_.str(), "");
  // Keys come in the order of binding, not sorted: HOMBASE after HOME.
  std::ifstream in(path_);
  std::string raw, last;
  while (std::getline(in, raw)) last = raw;
  EXPECT_LT(last.find("\"HOME.A1\""), last.find("\"HOME.TALFENT\""));
  EXPECT_LT(last.find("\"HOME.COLMUR\""), last.find("\"HOMBASE.TALFENT\""));
  EXPECT_LT(last.find("\"HOMBASE.TALFENT\""), last.find("\"DECBS1A.colvis0\""));
}

TEST_F(TraceTest, ChangesListOnlyRecordsWhoseBytesChanged) {
  ASSERT_TRUE(trace_.open(path_, errors_));
  link_all();
  set_text("abc");
  trace_.exec("HOME", 0, 0, table_, false);
  trace_.exec("HOME", 1, 0, table_, false);  // nothing changed
  text_[60] = 0x00;                          // a byte behind the text's zero
  trace_.exec("HOME", 0, 0, table_, false);
  switch_[7] ^= 1;  // the second float of the twice-bound switch
  trace_.exec("HOME", 0, 0, table_, false);
  area_[0] ^= 1;
  int_[3] ^= 1;
  trace_.exec("HOME", 0, 0, table_, false);
  auto l = lines();
  ASSERT_EQ(l.size(), 12U);
  EXPECT_EQ(l[7]["state"].size(), 6U);
  EXPECT_EQ(l[8]["state"], json::object());
  EXPECT_EQ(l[9]["state"], json::parse(R"({"HOME.A1":"abc"})"));
  ASSERT_EQ(l[10]["state"].size(), 2U);
  EXPECT_TRUE(l[10]["state"].contains("HOME.TALFENT"));
  EXPECT_TRUE(l[10]["state"].contains("HOMBASE.TALFENT"));
  EXPECT_EQ(l[11]["state"].size(), 2U);
  EXPECT_TRUE(l[11]["state"].contains("DECBS1A.colvis0"));
  EXPECT_TRUE(l[11]["state"].contains("DECBS2A.TALNUM"));
}

TEST_F(TraceTest, FullModeWritesEveryBindingEveryTime) {
  ASSERT_TRUE(trace_.open(path_, errors_));
  link_all();
  set_text("x");
  trace_.exec("HOME", 0, 0, table_, true);
  trace_.exec("HOME", 0, 0, table_, true);
  auto l = lines();
  EXPECT_EQ(l[7]["state"].size(), 6U);
  EXPECT_EQ(l[8]["state"].size(), 6U);
  EXPECT_EQ(l[8]["state"]["HOME.A1"], "x");
}

TEST_F(TraceTest, OverlongTextIsCutTo78AndReportedOnce) {
  ASSERT_TRUE(trace_.open(path_, errors_));
  link_all();
  text_.fill('z');
  text_[0] = 200;
  trace_.exec("HOME", 0, 0, table_, false);
  text_[5] = 'y';
  trace_.exec("HOME", 0, 0, table_, false);
  auto l = lines();
  EXPECT_EQ(l[7]["state"]["HOME.A1"], std::string(78, 'z'));
  EXPECT_EQ(l[8]["state"]["HOME.A1"].get<std::string>().size(), 78U);
  EXPECT_EQ(errors_.str(), "KvrRun: trace: HOME.A1: text length 200 is above 78; cut to 78\n");
}

TEST_F(TraceTest, MissingZeroByteIsReportedOnceAndTheTextStillWritten) {
  ASSERT_TRUE(trace_.open(path_, errors_));
  link_all();
  text_[0] = 3;  // "\xAB\xAB\xAB" followed by 0xAB, not by a zero
  trace_.exec("HOME", 0, 0, table_, false);
  text_[1] = 'q';
  trace_.exec("HOME", 0, 0, table_, false);
  auto l = lines();
  EXPECT_EQ(l[7]["state"]["HOME.A1"], "\u00ab\u00ab\u00ab");
  EXPECT_EQ(l[8]["state"]["HOME.A1"], "q\u00ab\u00ab");
  EXPECT_EQ(errors_.str(), "KvrRun: trace: HOME.A1: no zero byte after the 3 characters\n");
}

TEST_F(TraceTest, ControlCharactersQuotesAndNonFiniteFloatsStayValidJson) {
  ASSERT_TRUE(trace_.open(path_, errors_));
  link_all();
  set_text("a\"b\\c\td");
  text_[2] = 0x01;
  float nan = std::numeric_limits<float>::quiet_NaN();
  std::memcpy(switch_.data(), &nan, 4);
  trace_.exec("HOME", 0, 0, table_, false);
  trace_.end();
  auto l = lines();  // every line parses
  EXPECT_EQ(l[7]["state"]["HOME.A1"],
            "a\x01"
            "b\\c\td");
  EXPECT_TRUE(l[7]["state"]["HOME.TALFENT"][0].is_null());
  EXPECT_EQ(l.back(), json::parse(R"({"event":"end"})"));
}

TEST_F(TraceTest, FailedLoadCarriesTheError) {
  ASSERT_TRUE(trace_.open(path_, errors_));
  trace_.load("HOME.SP1", false, "HOME.SP1: cannot open the scene file");
  auto l = lines();
  EXPECT_EQ(l[0], json::parse(R"({"event":"load","file":"HOME.SP1","ok":false,
                                  "error":"HOME.SP1: cannot open the scene file"})"));
}

TEST_F(TraceTest, UnwritableTraceIsReported) {
  EXPECT_FALSE(trace_.open("/nonexistent-dir/t.jsonl", errors_));
  EXPECT_FALSE(trace_.active());
  EXPECT_NE(errors_.str().find("/nonexistent-dir/t.jsonl: cannot write the trace"),
            std::string::npos);
}

TEST_F(TraceTest, VariableRecordsFollowTheDeclarations) {
  link_all();
  const auto& records = table_.variable_records();
  ASSERT_EQ(records.size(), scene_.variables.size());
  EXPECT_EQ(records[static_cast<std::size_t>(scene_.find_variable("HOME", "A1"))], text_.data());
  EXPECT_EQ(records[static_cast<std::size_t>(scene_.find_variable("HOMBASE", "TALFENT"))],
            switch_.data());
  EXPECT_EQ(table_.records().size(), 6U);
  EXPECT_EQ(table_.bindings().back().declared, -1);
}

}  // namespace
