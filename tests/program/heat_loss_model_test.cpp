// The heat-loss model: the start-up house to the values given, the factor
// bands at their ends, the glazed area and the ventilation.
#include "thermal/heat_loss_model.h"

#include "model/coefficients.h"
#include "model/parameters.h"
#include "program_test.h"

namespace maison::testing {
namespace {

using HeatLossTest = RunningProgramTest;

TEST_F(HeatLossTest, StartUpHouse) {
  compute_heat_losses();
  // Exact where the value is exact in double precision.
  EXPECT_EQ(wall_resistance, 0.275);
  EXPECT_EQ(window_area, 9.6);
  EXPECT_EQ(wall_area, 84.4);
  EXPECT_EQ(window_loss_coefficient, 48.48);
  EXPECT_EQ(door_u, 2.7027027027027026);
  EXPECT_EQ(door_loss_coefficient, 5.405405405405405);
  EXPECT_EQ(ventilation_loss_coefficient, 81.6);
  EXPECT_EQ(temperature_difference, 22.0);
  EXPECT_EQ(window_loss, 1066.56);
  EXPECT_EQ(floor_factor, 0.65);
  EXPECT_EQ(ceiling_factor, 0.85);

  EXPECT_NEAR(wall_u, 3.6363, 1e-4);
  EXPECT_NEAR(floor_u, 3.5637, 1e-4);
  EXPECT_NEAR(ceiling_u, 4.1561, 1e-4);
  EXPECT_NEAR(wall_loss_coefficient, 306.909, 1e-3);
  EXPECT_NEAR(floor_loss_coefficient, 231.641, 1e-3);
  EXPECT_NEAR(ceiling_loss_coefficient, 353.274, 1e-3);
  EXPECT_NEAR(total_loss_coefficient, 1027.310, 1e-3);
  EXPECT_NEAR(wall_loss, 6752, 1e-9);
  EXPECT_NEAR(door_loss, 118.918, 1e-3);
  EXPECT_NEAR(floor_loss, 5096.11, 1e-2);
  EXPECT_NEAR(ceiling_loss, 7772.04, 1e-2);
  EXPECT_NEAR(ventilation_loss, 1795.2, 1e-9);
  EXPECT_NEAR(total_loss, 22600.83, 1e-2);
  EXPECT_NEAR(wall_loss_share, 29.88, 5e-3);
  EXPECT_NEAR(window_loss_share, 4.72, 5e-3);
  EXPECT_NEAR(door_loss_share, 0.53, 5e-3);
  EXPECT_NEAR(floor_loss_share, 22.55, 5e-3);
  EXPECT_NEAR(ceiling_loss_share, 34.39, 5e-3);
  EXPECT_NEAR(ventilation_loss_share, 7.94, 5e-3);
  EXPECT_NEAR(annual_need, 41914.27, 1e-2);
  EXPECT_NEAR(need_per_m2, 419.14, 1e-2);
  // Reference values evaluated independently, in the stated order of operations.
  EXPECT_EQ(total_loss_coefficient, 1027.3105241909564);
  EXPECT_EQ(annual_need, 41914.26938699102);
  EXPECT_EQ(need_per_m2, 419.1426938699102);
  EXPECT_NEAR(wall_loss_share + window_loss_share + door_loss_share + floor_loss_share +
                  ceiling_loss_share + ventilation_loss_share,
              100.0, 1e-9);
}

TEST_F(HeatLossTest, FactorBandsIncludeTheirStatedEnds) {
  floor_depth = 0;
  ceiling_depth = 0;
  const double ends[][3] = {
      // U-value, floor factor, ceiling factor
      {0.6, 0.85, 0.95}, {0.59, 0.85, 0.95}, {0.61, 0.75, 0.9},
      {2.39, 0.75, 0.9}, {2.4, 0.65, 0.85},  {5.0, 0.65, 0.85},
  };
  for (const auto& end : ends) {
    SCOPED_TRACE(end[0]);
    crawlspace_resistance = 1 / end[0];
    ceiling_surface_resistance = 1 / end[0];
    compute_heat_losses();
    EXPECT_EQ(floor_u, end[0]);
    EXPECT_EQ(ceiling_u, end[0]);
    EXPECT_EQ(floor_factor, end[1]);
    EXPECT_EQ(ceiling_factor, end[2]);
  }
}

TEST_F(HeatLossTest, GlazedAreaGrowsWithTheWindowCount) {
  window_count = 2;
  compute_heat_losses();
  EXPECT_EQ(window_area, 12.0);
  EXPECT_EQ(wall_area, 82.0);
  window_count = 3;
  compute_heat_losses();
  EXPECT_EQ(window_area, 14.399999999999999);
  EXPECT_EQ(wall_area, 79.6);
}

TEST_F(HeatLossTest, VentilationSystemsRecoverPartOfTheAir) {
  const double cases[][3] = {{1, 1.5, 122.39999999999999}, {2, 1.0, 32.64}, {3, 0.5, 8.16}};
  for (const auto& c : cases) {
    ventilation_type = c[0];
    air_change_rate = c[1];
    compute_heat_losses();
    EXPECT_EQ(ventilation_loss_coefficient, c[2]);
  }
}

TEST_F(HeatLossTest, IndoorTemperatureScalesLossesButNotTheNeed) {
  compute_heat_losses();
  const double wall_share = wall_loss_share;
  const double coefficient = total_loss_coefficient;
  const double need = need_per_m2;
  const double loss = total_loss;
  indoor_temperature = 16;
  compute_heat_losses();
  EXPECT_NEAR(total_loss, loss * 18 / 22, 1e-9);
  EXPECT_NEAR(wall_loss_share, wall_share, 1e-12);
  EXPECT_EQ(total_loss_coefficient, coefficient);
  EXPECT_EQ(need_per_m2, need);
  degree_days = 3200;
  compute_heat_losses();
  EXPECT_NEAR(need_per_m2, need * 3200 / 1700, 1e-9);
}

}  // namespace
}  // namespace maison::testing
