// The heat-loss model: the start-up house, the factor bands at their ends,
// the glazed area and the ventilation.
#include "thermal/heat_loss_model.h"

#include "model/coefficients.h"
#include "model/parameters.h"
#include "program_test.h"

namespace maison::testing {
namespace {

using HeatLossTest = RunningProgramTest;
using Doubles = std::vector<double>;

TEST_F(HeatLossTest, StartUpHouse) {
  compute_heat_losses();
  // Exact where the value is exact in double precision.
  EXPECT_EQ((Doubles{wall_resistance, window_area, wall_area, window_loss_coefficient, door_u,
                     door_loss_coefficient, ventilation_loss_coefficient, temperature_difference,
                     window_loss, floor_factor, ceiling_factor}),
            (Doubles{0.275, 9.6, 84.4, 48.48, 2.7027027027027026, 5.405405405405405, 81.6, 22,
                     1066.56, 0.65, 0.85}));
  const std::pair<double, double> rounded[] = {
      {wall_u, 3.6363},          {floor_u, 3.5637},           {ceiling_u, 4.1561},
      {wall_loss, 6752},         {door_loss, 118.918},        {floor_loss, 5096.11},
      {ceiling_loss, 7772.04},   {ventilation_loss, 1795.2},  {total_loss, 22600.83},
      {wall_loss_share, 29.88},  {window_loss_share, 4.72},   {door_loss_share, 0.53},
      {floor_loss_share, 22.55}, {ceiling_loss_share, 34.39}, {ventilation_loss_share, 7.94}};
  for (const auto& [value, expected] : rounded) EXPECT_NEAR(value, expected, 5e-3);
  // Reference values evaluated independently, in the stated order of operations.
  EXPECT_EQ(total_loss_coefficient, 1027.3105241909564);
  EXPECT_EQ(annual_need, 41914.26938699102);
  EXPECT_EQ(need_per_m2, 419.1426938699102);
}

TEST_F(HeatLossTest, FactorBandsIncludeTheirStatedEnds) {
  floor_depth = 0;
  ceiling_depth = 0;
  const double ends[][3] = {// U-value, floor factor, ceiling factor
                            {0.6, 0.85, 0.95},
                            {0.61, 0.75, 0.9},
                            {2.39, 0.75, 0.9},
                            {2.4, 0.65, 0.85}};
  for (const auto& end : ends) {
    crawlspace_resistance = 1 / end[0];
    ceiling_surface_resistance = 1 / end[0];
    compute_heat_losses();
    EXPECT_EQ((Doubles{floor_u, ceiling_u, floor_factor, ceiling_factor}),
              (Doubles{end[0], end[0], end[1], end[2]}));
  }
}

TEST_F(HeatLossTest, GlazedAreaAndVentilation) {
  const double cases[][6] = {
      // windows, ventilation type, air change rate, glazed area, wall area, ventilation H
      {2, 2, 1.0, 12.0, 82.0, 32.64},
      {3, 3, 0.5, 14.399999999999999, 79.6, 8.16}};
  for (const auto& c : cases) {
    window_count = c[0];
    ventilation_type = c[1];
    air_change_rate = c[2];
    compute_heat_losses();
    EXPECT_EQ((Doubles{window_area, wall_area, ventilation_loss_coefficient}),
              (Doubles{c[3], c[4], c[5]}));
  }
}

}  // namespace
}  // namespace maison::testing
