// The house the program hands to the runtime: handed over once at start-up,
// outside the six operations, and its physics on a copy agrees to the bit
// with what the frames leave in the program's own variables.
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <random>

#include "house/house_physics.h"
#include "model/parameters.h"
#include "program_test.h"
#include "startup/main_procedure.h"
#include "startup/scene_variables.h"
#include "thermal/heat_loss_model.h"

namespace maison::testing {
namespace {

namespace fs = std::filesystem;

TEST(HouseView, StartUpHandsOverTheProgramsOwnHouseOnceOutsideTheSixOperations) {
  kvr_double::reset();
  start_afresh();
  char name[] = "/tmp/maison-house-XXXXXX";
  const fs::path root = mkdtemp(name);
  const fs::path previous = fs::current_path();
  fs::create_directory(root / "work");
  fs::current_path(root / "work");
  WinMain(0);  // one frame, no configuration copy
  fs::current_path(previous);
  fs::remove_all(root);

  EXPECT_EQ(kvr_double::house_calls(), 1);
  const KvrHouse* view = kvr_double::house();
  ASSERT_NE(view, nullptr);
  EXPECT_EQ(view->version, KVR_HOUSE_VERSION);
  // The program's variables themselves, read through the view.
  EXPECT_EQ(&view->state->wall_type, &wall_type);
  EXPECT_EQ(&view->state->need_per_m2, &need_per_m2);
  EXPECT_EQ(view->state->need_per_m2, 419.1426938699102);
  for (const std::string& call : kvr_double::calls())
    EXPECT_EQ(call.find("KvHouse"), std::string::npos);
  kvr_double::reset();
}

// Random clicks on the panels and their arrows, through whole frames.
class RandomFrames : public RunningProgramTest {
 protected:
  void random_click(std::mt19937& random) {
    if (random() % 4 == 0) {
      open_panel(static_cast<Panel>(random() % panel_count));
    } else {
      click_arrow(static_cast<int>(random() % 6) + 1, random() % 2 == 0);
    }
  }
  static int open() {
    for (std::size_t p = 0; p < panel_count; ++p)
      if (active_panel[p] == 1) return static_cast<int>(p);
    return -1;
  }
};

TEST_F(RandomFrames, EvaluatingACopyGivesEveryCoefficientAndResultOfTheFrameToTheBit) {
  std::mt19937 random(20);
  for (int frame = 0; frame < 400; ++frame) {
    random_click(random);
    KvrHouseState copy = house;
    // Results forgotten; coefficients kept, as a "sans" insulation keeps the
    // conductivity of the last material chosen.
    auto* doubles = reinterpret_cast<double*>(&copy);
    for (std::size_t i = KVR_HOUSE_INPUT_COUNT; i < sizeof copy / sizeof(double); ++i)
      doubles[i] = -1;
    house_physics().evaluate(&copy);
    ASSERT_EQ(std::memcmp(&copy, &house, sizeof copy), 0) << "after frame " << frame;
  }
}

TEST_F(RandomFrames, PanelTextsAreWhatTheOpenPanelShows) {
  std::mt19937 random(6);
  int compared = 0;
  for (int frame = 0; frame < 400; ++frame) {
    random_click(random);
    const int panel = open();
    if (panel < 0) continue;
    KvrHousePanelTexts texts{};
    house_physics().panel_texts(&house, panel, &texts);
    const LinkedText* fields[] = {&A1, &A2, &A3, &A4, &A5, &A6};
    for (std::uint32_t row = 0; row < texts.rows; ++row) {
      EXPECT_EQ(texts.text[row], text(*fields[row]))
          << "panel " << panel << " row " << row + 1 << " frame " << frame;
    }
    ++compared;
  }
  EXPECT_GT(compared, 300);
}

}  // namespace
}  // namespace maison::testing
