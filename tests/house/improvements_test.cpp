// « Pistes d'amélioration » of the start house, checked against savings
// worked out by hand from the catalogue's values: 1700 degree-days, so each
// W/K is 1700 × 0.024 = 40.8 kWh/an.
#include "improvements.h"

#include <gtest/gtest.h>

#include "house/house_physics.h"
#include "model/house_state.h"
#include "program_test.h"

namespace maison::testing {
namespace {

using kvr::house::Advice;
using kvr::house::Measure;

constexpr double kwh_per_w_k = 1700 * 0.024;
constexpr double start_need = 41914.26938699102;

const Measure* measure_of(const Advice& advice, int panel) {
  for (std::size_t i = 0; i < advice.measure_count; ++i)
    if (advice.measures[i].panel == panel) return &advice.measures[i];
  return nullptr;
}

using ImprovementsTest = RunningProgramTest;

TEST_F(ImprovementsTest, BestMeasureOfEveryPanelOfTheStartHouse) {
  const Advice advice = kvr::house::advise(house_view(), house);
  EXPECT_EQ(advice.energy_class, 'F');
  ASSERT_EQ(advice.measure_count, 6u);

  // Ceiling: 0.3 m of polyurethane (0.029), the best insulation at the
  // largest thickness; the factor falls from 0.85 to 0.95 below U 0.6.
  const double ceiling_before = 0.85 / (0.1 / 1.65 + 0.18);
  const double ceiling_after = 0.95 / (0.3 / 0.029 + 0.1 / 1.65 + 0.18);
  const Measure* ceiling = measure_of(advice, KVR_PANEL_CEILING);
  ASSERT_NE(ceiling, nullptr);
  EXPECT_EQ(ceiling->words, "Plafond : beton plein 0.100 m, polyurethane 0.300 m");
  EXPECT_NEAR(ceiling->saving, (ceiling_before - ceiling_after) * 100 * kwh_per_w_k, 1e-6);
  EXPECT_NEAR(ceiling->saving_percent, ceiling->saving / start_need * 100, 1e-9);
  EXPECT_EQ(ceiling->energy_class, 'E');

  // Walls: polyurethane 0.3 m with its lining and 0.02 m of lime render, on 84.4 m².
  const double wall_after = 1 / (0.105 + 0.3 / 0.029 + 0.02 / 0.57 + 0.02 / 0.7 + 0.17);
  const Measure* walls = measure_of(advice, KVR_PANEL_WALLS);
  ASSERT_NE(walls, nullptr);
  EXPECT_EQ(walls->words,
            "Murs : brique pleine 0.105 m, polyurethane 0.300 m, enduit chaux 0.020 m");
  EXPECT_NEAR(walls->saving, (1 / 0.275 - wall_after) * 84.4 * kwh_per_w_k, 1e-6);

  // Ventilation: double flux with heat recovery at 0.5 vol/h, 81.6 → 8.16 W/K.
  const Measure* ventilation = measure_of(advice, KVR_PANEL_VENTILATION);
  ASSERT_NE(ventilation, nullptr);
  EXPECT_EQ(ventilation->words, "Ventilation : double HR, 0.5 vol/h");
  EXPECT_NEAR(ventilation->saving, (81.6 - 8.16) * kwh_per_w_k, 1e-6);

  // Windows: triple glazing, U 5.05 → 1.1 on 9.6 m²; the count stays.
  const Measure* windows = measure_of(advice, KVR_PANEL_WINDOWS);
  ASSERT_NE(windows, nullptr);
  EXPECT_EQ(windows->words, "Fenêtres : 1, triple 0.016 m");
  EXPECT_NEAR(windows->saving, (5.05 - 1.1) * 9.6 * kwh_per_w_k, 1e-6);

  // Crawl space: closed, 0.34 instead of 0.22; the floor factor stays 0.65.
  const Measure* crawlspace = measure_of(advice, KVR_PANEL_CRAWLSPACE);
  ASSERT_NE(crawlspace, nullptr);
  EXPECT_EQ(crawlspace->words, "Vide sanitaire : ferme");
  EXPECT_NEAR(crawlspace->saving,
              0.65 * 100 * (1 / (0.1 / 1.65 + 0.22) - 1 / (0.1 / 1.65 + 0.34)) * kwh_per_w_k, 1e-6);

  // Ranked by saving: ceiling, walls, floor, ventilation, crawl space, windows.
  const int order[] = {KVR_PANEL_CEILING,     KVR_PANEL_WALLS,      KVR_PANEL_FLOOR,
                       KVR_PANEL_VENTILATION, KVR_PANEL_CRAWLSPACE, KVR_PANEL_WINDOWS};
  for (std::size_t i = 0; i < 6; ++i) EXPECT_EQ(advice.measures[i].panel, order[i]) << i;
}

TEST_F(ImprovementsTest, FewestMeasuresForTheNextClassAndSobriety) {
  const Advice advice = kvr::house::advise(house_view(), house);
  // The ceiling alone gives 278.7 kWh/m², class E; walls alone (297.1) and
  // the floor alone (327.9) would too, with less saved.
  EXPECT_EQ(advice.target_class, 'E');
  ASSERT_TRUE(advice.target_reached);
  ASSERT_EQ(advice.target_measure_count, 1u);
  EXPECT_EQ(advice.measures[advice.target_measures[0]].panel, KVR_PANEL_CEILING);
  EXPECT_EQ(advice.target_words, "1 mesure pour la classe E");

  // One step lower is 18 °C: the loss at −2 °C falls by H × 2 K; the model's
  // annual need comes from the degree-days alone and stays.
  ASSERT_TRUE(advice.sobriety_possible);
  EXPECT_EQ(advice.sobriety_temperature, 18);
  EXPECT_NEAR(advice.sobriety_loss_saving, 1027.3105241909564 * 2, 1e-6);  // H × 2 K
  EXPECT_NEAR(advice.sobriety_annual_need, start_need, 1e-6);
}

TEST_F(ImprovementsTest, TwoMeasuresForTheNextClassInTheAlps) {
  // At 1000 m in the Alps (3200 degree-days, 76.8 kWh/an per W/K) the start
  // house needs 1027.31 W/K × 0.768 = 789 kWh/m², class G. Class F (at most
  // 450 once rounded) asks for 440.8 W/K less: the best single measure, the
  // ceiling, saves 344.3 W/K, the walls 299.0; together they reach it.
  KvrHouseState state = house;
  state.region = 3;
  state.altitude_band = 2;
  const Advice advice = kvr::house::advise(house_view(), state);
  EXPECT_EQ(advice.energy_class, 'G');
  EXPECT_EQ(advice.target_class, 'F');
  ASSERT_TRUE(advice.target_reached);
  ASSERT_EQ(advice.target_measure_count, 2u);
  EXPECT_EQ(advice.measures[advice.target_measures[0]].panel, KVR_PANEL_CEILING);
  EXPECT_EQ(advice.measures[advice.target_measures[1]].panel, KVR_PANEL_WALLS);
  EXPECT_EQ(advice.target_words, "2 mesures pour la classe F");
}

TEST_F(ImprovementsTest, ComputedAgainOnlyWhenTheHouseChanges) {
  kvr::house::AdviceCache cache;
  cache.advice(house_view(), house);
  cache.advice(house_view(), house);
  EXPECT_EQ(cache.computations(), 1u);
  KvrHouseState state = house;
  state.total_loss = 0;  // a result alone is no change of the house
  cache.advice(house_view(), state);
  EXPECT_EQ(cache.computations(), 1u);
  state.air_change_rate = 0.5;
  EXPECT_EQ(cache.advice(house_view(), state).measure_count, 6u);
  EXPECT_EQ(cache.computations(), 2u);
}

}  // namespace
}  // namespace maison::testing
