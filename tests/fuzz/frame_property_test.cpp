// The program's whole frame over thousands of seeded random sessions, with
// the real runtime core and its headless backend: after every frame the
// invariants of the program's state hold, and together the sessions reach
// every panel, every intro choice and every view of the results menu.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "frame_invariants.h"
#include "frame_session.h"
#include "input/modal_views.h"
#include "input/panels.h"
#include "pointer_states.h"

namespace maison::fuzzing {
namespace {

constexpr std::uint64_t session_count = 3000;
constexpr std::size_t longest_session = 600;  // bytes, about 150 pointer states

std::vector<std::uint8_t> random_bytes(std::uint64_t seed) {
  std::mt19937_64 random(seed);
  std::vector<std::uint8_t> bytes(random() % (longest_session + 1));
  for (std::uint8_t& b : bytes) b = static_cast<std::uint8_t>(random());
  return bytes;
}

class FrameProperty : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    static const bool entered = prepare_sessions(MAISON_SCENE_FILE);
    ASSERT_TRUE(entered);
  }
};

// What the sessions reached, over all of them.
struct Reached {
  std::set<std::size_t> panels;
  std::set<std::string> intro_actions;
  std::set<int> views_on;  // rows of the results menu switched on
  std::uint64_t single_frame_sessions = 0;
  std::uint64_t frames = 0;

  void note() {
    for (std::size_t i = 0; i < panel_count; ++i)
      if (active_panel[i] == 1) panels.insert(i);
    if (intro_action != nullptr) intro_actions.insert(intro_action);
    const std::int16_t* toggles[] = {&resk_toggle,  &resd_toggle,   &resw_toggle,
                                     &resan_toggle, &camera_toggle, &rest_toggle};
    for (int row = 0; row < 6; ++row)
      if (*toggles[row] == 1) views_on.insert(row + 1);
  }
};

TEST_F(FrameProperty, EverySeededSessionKeepsTheInvariants) {
  Reached reached;
  for (std::uint64_t seed = 1; seed <= session_count; ++seed) {
    const std::vector<std::uint8_t> bytes = random_bytes(seed);
    const SessionInput session = decode_session(bytes);
    std::string broken;
    std::uint64_t broken_frame = 0;
    const std::uint64_t frames = run_session(session, [&](std::uint64_t frame) {
      broken = broken_invariant();
      broken_frame = frame;
      reached.note();
      return broken.empty();
    });
    if (!broken.empty()) {
      // Kept in the working folder, ready for fuzz/regressions/frame/.
      const std::string kept = "frame-seed-" + std::to_string(seed) + ".bin";
      std::ofstream(kept, std::ios::binary)
          .write(reinterpret_cast<const char*>(bytes.data()),
                 static_cast<std::streamsize>(bytes.size()));
      FAIL() << "seed " << seed << ", frame " << broken_frame << ": " << broken
             << "\n  the input is kept as " << kept << " in the working folder";
    }
    reached.frames += frames;
    if (session.launch_code == 10) {
      EXPECT_EQ(frames, 1U) << "seed " << seed << ": a thousands digit 0 runs one frame";
      ++reached.single_frame_sessions;
    }
  }
  // The decoder aims the states well enough that the sessions, together,
  // go everywhere the program can go.
  EXPECT_EQ(reached.panels.size(), panel_count);
  EXPECT_EQ(reached.intro_actions, (std::set<std::string>{"BANDO", "USE", "FONC", "REM", "DECOR"}));
  EXPECT_EQ(reached.views_on, (std::set<int>{1, 2, 3, 4, 5, 6}));
  EXPECT_GT(reached.single_frame_sessions, 0U);
  std::printf("%llu sessions, %llu frames\n", static_cast<unsigned long long>(session_count),
              static_cast<unsigned long long>(reached.frames));
}

}  // namespace
}  // namespace maison::fuzzing
