// The pieces of the frame fuzzer: how bytes become pointer states, that the
// closing states lead the program out of every wait, and that the checker
// catches each broken rule.
#include "pointer_states.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <functional>
#include <limits>
#include <string>
#include <vector>

#include "feedback/surface_colours.h"
#include "frame_invariants.h"
#include "frame_session.h"
#include "input/modal_views.h"
#include "input/panels.h"
#include "model/parameters.h"
#include "startup/scene_variables.h"
#include "thermal/heat_loss_model.h"

namespace maison::fuzzing {
namespace {

// One state aimed at target `target` with the given place, buttons and repeat bytes.
SessionInput one_state(std::uint8_t target, std::uint8_t place, std::uint8_t buttons = 5,
                       std::uint8_t repeat = 0) {
  const std::vector<std::uint8_t> bytes{1, target, place, buttons, repeat};
  return decode_session(bytes);
}

TEST(PointerStates, EachNibblePlacesThePointerOnABorderJustOutsideOrInside) {
  const auto all = targets();
  ASSERT_EQ(all.size(), 41U);
  for (std::size_t t = 0; t < all.size(); ++t) {
    const Target& r = all[t];
    std::vector<std::int32_t> xs, ys;
    for (unsigned n = 0; n < 16; ++n) {
      const auto s = one_state(static_cast<std::uint8_t>(t), static_cast<std::uint8_t>(n | n << 4));
      xs.push_back(s.states.front().x);
      ys.push_back(s.states.front().y);
    }
    for (const auto& [axis, low, high] :
         {std::tuple{&xs, r.x1, r.x2}, std::tuple{&ys, r.y1, r.y2}}) {
      const std::vector<std::int32_t>& v = *axis;
      SCOPED_TRACE("target " + std::to_string(t));
      EXPECT_EQ(v[0], low - 1);
      EXPECT_EQ(v[1], low);
      EXPECT_EQ(v[2], low + 1);
      EXPECT_EQ(v[13], high - 1);
      EXPECT_EQ(v[14], high);
      EXPECT_EQ(v[15], high + 1);
      for (unsigned n = 3; n <= 12; ++n) {
        EXPECT_GT(v[n], low) << n;
        EXPECT_LT(v[n], high) << n;
        EXPECT_LE(v[n - 1], v[n]) << n;
      }
    }
  }
}

TEST(PointerStates, LaunchCodeButtonsRepeatsAndTheClosingStates) {
  const std::vector<kvr::PointerRun> closing = closing_states();
  const SessionInput empty = decode_session({});
  EXPECT_EQ(empty.launch_code, 1000);
  ASSERT_EQ(empty.states.size(), closing.size());

  EXPECT_EQ(decode_session(std::vector<std::uint8_t>{0}).launch_code, 10);
  EXPECT_EQ(decode_session(std::vector<std::uint8_t>{32}).launch_code, 10);
  EXPECT_EQ(decode_session(std::vector<std::uint8_t>{33}).launch_code, 1000);
  using Trace = SessionInput::Trace;
  EXPECT_EQ(decode_session(std::vector<std::uint8_t>{0xd0}).trace, Trace::none);
  EXPECT_EQ(decode_session(std::vector<std::uint8_t>{0xe1}).trace, Trace::changes);
  EXPECT_EQ(decode_session(std::vector<std::uint8_t>{0xf0}).trace, Trace::none);
  EXPECT_EQ(decode_session(std::vector<std::uint8_t>{0xf9}).trace, Trace::full);
  std::vector<std::uint8_t> long_session(1 + 4 * 17, 0);
  long_session[0] = 0xf9;
  EXPECT_EQ(decode_session(long_session).trace, Trace::changes);
  long_session.resize(1 + 4 * 16);
  EXPECT_EQ(decode_session(long_session).trace, Trace::full);
  long_session[4] = 255;  // the first state held for 60 polls
  EXPECT_EQ(decode_session(long_session).trace, Trace::changes);

  // A missing tail of a state reads as zeros: target 0, place 0, no button.
  const SessionInput cut = decode_session(std::vector<std::uint8_t>{1, 2});
  ASSERT_EQ(cut.states.size(), 1 + closing.size());
  EXPECT_EQ(cut.states[0].buttons, 0);
  EXPECT_EQ(cut.states[0].count, 1U);
  for (std::size_t i = 0; i < closing.size(); ++i) {
    EXPECT_EQ(cut.states[1 + i].x, closing[i].x);
    EXPECT_EQ(cut.states[1 + i].buttons, closing[i].buttons);
  }

  int zero = 0, left = 0, right = 0;
  for (unsigned b = 0; b < 256; ++b) {
    const std::int32_t buttons = one_state(0, 0x77, static_cast<std::uint8_t>(b)).states[0].buttons;
    if ((b & 0x0fU) == 0x0fU) {
      EXPECT_TRUE(buttons != 0 && buttons != 1 && buttons != 2) << b;
    }
    zero += buttons == 0 ? 1 : 0;
    left += buttons == 1 ? 1 : 0;
    right += buttons == 2 ? 1 : 0;
  }
  EXPECT_GT(left, right);  // clicks are what moves the program
  EXPECT_GT(right, 0);
  EXPECT_GT(zero, 0);
  EXPECT_EQ(one_state(0, 0, 0, 199).states[0].count, 1U);
  EXPECT_EQ(one_state(0, 0, 0, 255).states[0].count, 60U);
}

class FrameSession : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    static const bool entered = prepare_sessions(MAISON_SCENE_FILE);
    ASSERT_TRUE(entered);
  }

  // Runs states (the closing ones are added) and returns the frames run.
  static std::uint64_t play(std::vector<kvr::PointerRun> states) {
    for (const kvr::PointerRun& s : closing_states()) states.push_back(s);
    return run_session({1000, states, SessionInput::Trace::none, {}},
                       [](std::uint64_t) { return true; });
  }
};

// A session whose own states stop in the middle of a wait or a modal view
// still ends through the end of input: the runtime would otherwise end the
// whole process (status 3), which this test would not survive.
TEST_F(FrameSession, TheClosingStatesLeadOutOfEveryWait) {
  // A press held on the intro button: the wait for its release, then the intro choice.
  EXPECT_GE(play({{670, 579, 1, 3}}), 1U);
  EXPECT_STREQ(intro_action, "DECOR");
  // Inside the intro choice: the closing right press outside the bar chooses "DECOR".
  EXPECT_GE(play({{670, 579, 1, 1}, {670, 579, 0, 1}}), 1U);
  EXPECT_STREQ(intro_action, "DECOR");
  // Inside the results view, row 1 switched on.
  EXPECT_GE(play({{685, 42, 1, 1}, {590, 465, 1, 2}, {590, 465, 0, 1}}), 1U);
  EXPECT_EQ(resk_toggle, 1);
  EXPECT_EQ(colvis0, 4);
  // A press held on a menu button: the Walls panel opens once it is released.
  EXPECT_GE(play({{231, 92, 1, 60}}), 1U);
  EXPECT_TRUE(panel_open(Panel::walls));
}

struct Breakage {
  const char* rule;
  std::function<void()> apply;
};

TEST_F(FrameSession, TheCheckerNamesEachBrokenRule) {
  ASSERT_EQ(play({}), 4U);  // one frame per closing state
  ASSERT_EQ(broken_invariant(), "");

  const Breakage breakages[] = {
      {"parameter outside its table: glazing_gap = 20", [] { glazing_gap = 20; }},
      {"parameter outside its table: wall_insulation_thickness = 4",
       [] { wall_insulation_thickness = 4; }},
      {"parameter outside its table: air_change_rate = 2", [] { air_change_rate = 2.0; }},
      {"text longer than 16 characters: HOME.A1 has 17", [] { A1.length = 17; }},
      {"text without its zero byte after its characters: FONDRES.B1",
       [] { B1.characters[B1.length] = 'x'; }},
      {"switch whose second float is not 1.0: HOMBASE.TALMUR", [] { TALMUR.second = 0.0f; }},
      {"colour component outside 0..255: HOME.COLMUR", [] { COLMUR.green = 256; }},
      {"colour component outside 0..255: HOMURS.MURFOND", [] { MURFOND.blue = -1; }},
      {"more than one panel flag set: 2",
       [] {
         active_panel[0] = 1;
         active_panel[3] = 1;
         TALMUR.shown = TALSSOL.shown = 1.0f;
       }},
      {"panel switch disagrees with its flag: panel 4", [] { TALFEN.shown = 1.0f; }},
      {"view indicator disagrees with its toggle: toggle 1, indicator 3",
       [] { camera_toggle = 1; }},
      {"class letter not one of A to G", [] { KLASS.characters[0] = 'H'; }},
      {"class letter not one of A to G: length 0",
       [] {
         KLASS.length = 0;
         KLASS.characters[0] = 0;
       }},
      {"result not finite: need_per_m2",
       [] { need_per_m2 = std::numeric_limits<double>::quiet_NaN(); }},
      {"result not finite: window_surface_temperature",
       [] { window_surface_temperature = std::numeric_limits<double>::infinity(); }},
  };
  for (const Breakage& b : breakages) {
    ASSERT_EQ(play({}), 4U);
    b.apply();
    const std::string broken = broken_invariant();
    EXPECT_EQ(broken.rfind(b.rule, 0), 0U)
        << "expected \"" << b.rule << "\", got \"" << broken << "\"";
  }
}

}  // namespace
}  // namespace maison::fuzzing
