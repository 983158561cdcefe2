// The results table and the energy class.
#include "thermal/result_fields.h"

#include "model/coefficients.h"
#include "program_test.h"
#include "startup/frame_loop.h"
#include "startup/scene_variables.h"
#include "thermal/heat_loss_model.h"

namespace maison::testing {
namespace {

using ResultFieldTest = RunningProgramTest;

TEST_F(ResultFieldTest, FirstFrameShowsTheStartUpHouse) {
  run_frame();
  EXPECT_EQ(texts({&B1, &B2, &B3, &B4, &B5}), (Texts{"3.64", "5.05", "2.70", "3.56", "4.16"}));
  EXPECT_EQ(texts({&C1, &C2, &C3, &C4, &C5, &C6, &C7}),
            (Texts{"306.9", "48.5", "5.4", "231.6", "353.3", "81.6", "1027"}));
  EXPECT_EQ(texts({&D1, &D2, &D3, &D4, &D5, &D6, &D7}),
            (Texts{"6752", "1067", "119", "5096", "7772", "1795", "22601"}));
  EXPECT_EQ(texts({&E1, &E2, &E3, &E4, &E5, &E6}),
            (Texts{"29.9", "4.7", "0.5", "22.5", "34.4", "7.9"}));
  EXPECT_EQ(texts({&F1, &F2, &F3, &F4, &F5, &F6}),
            (Texts{"1.4", "2.8", "0.6", "0.0", "0.4", " -2"}));
  EXPECT_EQ(texts({&G1, &KLASS}), (Texts{"41914", "F"}));
  EXPECT_EQ(KLASS.characters[1], '\0');
  for (const LinkedText* unused : {&A7, &A8, &A9, &A10, &A11, &B6}) EXPECT_EQ(unused->length, 0);

  outdoor_base_temperature = -11;  // two digits: no blank
  write_result_fields();
  EXPECT_EQ(text(F6), "-11");
}

TEST(EnergyClassTest, WholeKilowattHoursLeaveNoGapBetweenClasses) {
  const std::pair<double, const char*> needs[] = {
      {0.0, "A"},    {49.99, "A"},  {50.49, "A"}, {50.5, "B"},  {51.01, "B"},
      {90.49, "B"},  {90.5, "C"},   {150.5, "D"}, {230.5, "E"}, {330.5, "F"},
      {419.14, "F"}, {450.49, "F"}, {450.5, "G"}, {451.0, "G"}, {451.01, "G"}};
  for (const auto& [need, letter] : needs) EXPECT_EQ(energy_class(need), letter) << need;
}

TEST_F(ResultFieldTest, ClassIsWrittenEveryFrame) {
  compute_heat_losses();
  for (auto [need, letter] : {std::pair{50.7, "B"}, {50.2, "A"}}) {
    need_per_m2 = need;
    write_result_fields();
    EXPECT_EQ(text(KLASS), letter);
  }
}

}  // namespace
}  // namespace maison::testing
