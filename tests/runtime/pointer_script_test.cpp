// Pointer scripts: every rule of the format, errors with their line.
#include "pointer_script.h"

#include <gtest/gtest.h>

namespace {

using kvr::parse_pointer_script;

std::string error_of(const std::string& text) {
  auto result = parse_pointer_script(text, "s.txt");
  EXPECT_FALSE(result.script.has_value()) << text;
  return result.error;
}

TEST(PointerScript, StatesRepeatsCommentsAndBlankLines) {
  auto result = parse_pointer_script(
      "# a click on the Walls button\n"
      "\n"
      "   \t \n"
      "  # indented comment\n"
      "230 92 1\n"
      "\t230\t92  0 *3\n"
      "-5 -2147483648 7 *1000000000\n"
      "2147483647 0 3\t*1 \t\n",
      "s.txt");
  ASSERT_TRUE(result.script) << result.error;
  const auto& runs = result.script->runs;
  ASSERT_EQ(runs.size(), 4U);
  EXPECT_EQ(runs[0].x, 230);
  EXPECT_EQ(runs[0].y, 92);
  EXPECT_EQ(runs[0].buttons, 1);
  EXPECT_EQ(runs[0].count, 1U);
  EXPECT_EQ(runs[1].buttons, 0);
  EXPECT_EQ(runs[1].count, 3U);
  EXPECT_EQ(runs[2].x, -5);
  EXPECT_EQ(runs[2].y, INT32_MIN);
  EXPECT_EQ(runs[2].buttons, 7);
  EXPECT_EQ(runs[2].count, 1000000000U);
  EXPECT_EQ(runs[3].x, INT32_MAX);
  EXPECT_EQ(result.script->states(), 1000000005ULL);
}

TEST(PointerScript, EmptyAndCommentOnlyScriptsHaveNoStates) {
  for (const char* text : {"", "\n\n", "# nothing\n"}) {
    auto result = parse_pointer_script(text, "s.txt");
    ASSERT_TRUE(result.script);
    EXPECT_EQ(result.script->states(), 0U);
  }
}

TEST(PointerScript, CrLfLineEndsAndAMissingLastNewlineAreAccepted) {
  auto result = parse_pointer_script("1 2 0\r\n3 4 1 *2", "s.txt");
  ASSERT_TRUE(result.script) << result.error;
  EXPECT_EQ(result.script->states(), 3U);
}

TEST(PointerScript, BadNumbersNameTheirLineAndField) {
  EXPECT_EQ(error_of("1 2 0\n1 x 0\n"), "s.txt:2: Y is not a decimal integer");
  EXPECT_EQ(error_of("1 2\n"), "s.txt:1: missing BUTTONS");
  EXPECT_EQ(error_of("\n\n2147483648 0 0\n"), "s.txt:3: X is outside the signed 32-bit range");
  EXPECT_EQ(error_of("0 -2147483649 0\n"), "s.txt:1: Y is outside the signed 32-bit range");
  EXPECT_EQ(error_of("+1 2 0\n"), "s.txt:1: X is not a decimal integer");
  EXPECT_EQ(error_of("1.5 2 0\n"), "s.txt:1: X is not a decimal integer");
  EXPECT_EQ(error_of("1,2,0\n"), "s.txt:1: X is not a decimal integer");
  EXPECT_EQ(error_of("0x10 2 0\n"), "s.txt:1: X is not a decimal integer");
}

TEST(PointerScript, BadRepeatsAreRejected) {
  EXPECT_EQ(error_of("1 2 0 *0\n"), "s.txt:1: the repeat after '*' must be from 1 to 1000000000");
  EXPECT_EQ(error_of("1 2 0 *1000000001\n"),
            "s.txt:1: the repeat after '*' must be from 1 to 1000000000");
  EXPECT_EQ(error_of("1 2 0 *99999999999999999999999\n"),
            "s.txt:1: the repeat after '*' must be from 1 to 1000000000");
  EXPECT_EQ(error_of("1 2 0 *\n"), "s.txt:1: the repeat after '*' is not a decimal integer");
  EXPECT_EQ(error_of("1 2 0 * 3\n"), "s.txt:1: the repeat after '*' is not a decimal integer");
  EXPECT_EQ(error_of("1 2 0 *-3\n"), "s.txt:1: the repeat after '*' is not a decimal integer");
  EXPECT_EQ(error_of("1 2 0 *3x\n"), "s.txt:1: the repeat after '*' is not a decimal integer");
}

TEST(PointerScript, AnythingElseOnTheLineIsAnError) {
  EXPECT_EQ(error_of("1 2 0 4\n"), "s.txt:1: unexpected text after the state");
  EXPECT_EQ(error_of("1 2 0 # click\n"), "s.txt:1: unexpected text after the state");
  EXPECT_EQ(error_of("1 2 0 *2 *3\n"), "s.txt:1: unexpected text after the state");
  EXPECT_EQ(error_of("1 2 0x\n"), "s.txt:1: BUTTONS is not a decimal integer");
  EXPECT_EQ(error_of("1\v2 0\n"), "s.txt:1: X is not a decimal integer");
}

TEST(PointerScript, UnreadableFileIsNamed) {
  auto result = kvr::load_pointer_script("/nonexistent/script.txt");
  EXPECT_FALSE(result.script);
  EXPECT_EQ(result.error.rfind("/nonexistent/script.txt: cannot open the pointer script", 0), 0U)
      << result.error;
}

}  // namespace
