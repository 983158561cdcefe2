// Condensation and mould, worked out by hand from the catalogue's documented
// values: a surface temperature θsi = θi − U·Rsi·Δθ (Rsi 0.25 on opaque
// elements, 0.13 on glazing), a dew point by Magnus (17.62, 243.12 °C).
#include "moisture.h"

#include <gtest/gtest.h>

#include <cmath>
#include <sstream>
#include <string>

#include "house/house_physics.h"
#include "humidity_setting.h"
#include "model/house_state.h"
#include "program_test.h"
#include "settings.h"

namespace maison::testing {
namespace {

using kvr::house::check_moisture;
using kvr::house::MoistureCheck;
using kvr::house::Surface;

kvr::house::SurfaceCheck of(const MoistureCheck& check, Surface surface) {
  return check.surfaces[static_cast<std::size_t>(surface)];
}

TEST(Moisture, DewPointsOfPublishedTables) {
  // Dew point tables (Magnus over water): 20 °C at 50 % gives 9.3 °C, at
  // 80 % 16.4 °C; 10 °C at 60 % gives 2.6 °C.
  EXPECT_NEAR(kvr::house::dew_point(20, 50), 9.3, 0.05);
  EXPECT_NEAR(kvr::house::dew_point(20, 80), 16.4, 0.05);
  EXPECT_NEAR(kvr::house::dew_point(10, 60), 2.6, 0.05);
  EXPECT_NEAR(kvr::house::saturation_pressure(20), 23.39, 0.1);  // hPa, within Magnus's error
}

using MoistureTest = RunningProgramTest;

TEST_F(MoistureTest, StartHouseAtHalfHumidity) {
  KvrHouseState state = house;
  house_physics().evaluate(&state);
  const MoistureCheck check = check_moisture(state, 50);
  // Indoor 20 °C, base outdoor −2 °C.
  const double delta = 22;
  const double gamma = std::log(0.5) + 17.62 * 20 / (243.12 + 20);
  const double dew = 243.12 * gamma / (17.62 - gamma);
  EXPECT_NEAR(check.dew_point, dew, 1e-9);

  // Single glazing, U 5.05: 20 − 5.05 × 0.13 × 22 = 5.557 °C, below the dew point.
  const auto windows = of(check, Surface::windows);
  EXPECT_NEAR(windows.surface_temperature, 20 - 5.05 * 0.13 * delta, 1e-9);
  EXPECT_TRUE(windows.condensation);
  EXPECT_STREQ(windows.verdict, "condensation");

  // Uninsulated brick of 0.105 m at conductivity 1.0 and 0.17 of surface
  // resistances: U = 1 / 0.275; its surface at 20 − U × 0.25 × 22 = 0 °C.
  const auto walls = of(check, Surface::walls);
  const double wall_u = 1 / (0.105 / 1.0 + 0.17);
  EXPECT_NEAR(walls.surface_temperature, 20 - wall_u * 0.25 * delta, 1e-9);
  EXPECT_TRUE(walls.mould_risk);
  EXPECT_TRUE(walls.condensation);

  // The floor over the open crawl space: U = 1 / (0.1 / 1.65 + 0.22), and
  // the model counts its loss with the factor 0.65 (U of 2.4 or more).
  const auto floor = of(check, Surface::floor);
  const double floor_u = 1 / (0.1 / 1.65 + 0.22);
  EXPECT_NEAR(floor.surface_temperature, 20 - floor_u * 0.25 * 0.65 * delta, 1e-9);

  // Surface relative humidity: the indoor vapour pressure over the
  // saturation pressure at the surface.
  const double saturation_20 = 6.112 * std::exp(17.62 * 20 / (243.12 + 20));
  const double t = windows.surface_temperature;
  const double saturation_t = 6.112 * std::exp(17.62 * t / (243.12 + t));
  EXPECT_NEAR(windows.surface_relative_humidity, 100 * 0.5 * saturation_20 / saturation_t, 1e-9);
}

TEST_F(MoistureTest, TwentyCentimetresOfGlassWoolTakeTheWallOutOfRisk) {
  KvrHouseState state = house;
  state.wall_insulation = 2;            // laine de verre, 0.039 W/(m.K)
  state.wall_insulation_thickness = 2;  // 0.2 m, with the 0.02 m lining at 0.57
  house_physics().evaluate(&state);
  const auto walls = of(check_moisture(state, 50), Surface::walls);
  const double wall_u = 1 / (0.105 / 1.0 + 0.2 / 0.039 + 0.02 / 0.57 + 0.17);
  EXPECT_NEAR(walls.surface_temperature, 20 - wall_u * 0.25 * 22, 1e-9);
  EXPECT_FALSE(walls.mould_risk);
  EXPECT_FALSE(walls.condensation);
  EXPECT_STREQ(walls.verdict, "sain");
}

TEST_F(MoistureTest, MouldWithoutCondensationBetweenTheTwoLimits) {
  // Triple glazing, U 1.1: 20 − 1.1 × 0.13 × 22 = 16.854 °C. At 70 % the
  // dew point is 14.4 °C and the surface holds 70 % × es(20) / es(16.854),
  // about 85 %: mould, no condensation.
  KvrHouseState state = house;
  state.glazing_type = 3;
  house_physics().evaluate(&state);
  const auto windows = of(check_moisture(state, 70), Surface::windows);
  EXPECT_FALSE(windows.condensation);
  EXPECT_TRUE(windows.mould_risk);
  EXPECT_STREQ(windows.verdict, "risque de moisissure");
  EXPECT_FALSE(of(check_moisture(state, 50), Surface::windows).mould_risk);
}

TEST(Moisture, HumiditySettingStepsByFiveWithinItsRange) {
  EXPECT_EQ(kvr::house::step_humidity(50, +1), 55);
  EXPECT_EQ(kvr::house::step_humidity(50, -1), 45);
  EXPECT_EQ(kvr::house::step_humidity(80, +1), 80);
  EXPECT_EQ(kvr::house::step_humidity(30, -1), 30);
}

}  // namespace
}  // namespace maison::testing

namespace {

using kvr::house::with_humidity;

int read_humidity(const std::string& text, std::string& messages) {
  kvr::Settings settings;
  std::ostringstream errors;
  kvr::parse_settings(text, settings, errors);
  messages = errors.str();
  return settings.indoor_humidity;
}

TEST(HumiditySetting, ReadFromTheSettingsFileWithinItsRangeAndSteps) {
  std::string messages;
  EXPECT_EQ(read_humidity("", messages), 50);
  EXPECT_EQ(read_humidity("[house]\nhumidity = 65\n", messages), 65);
  EXPECT_EQ(messages, "");
  for (const char* wrong : {"33", "85", "25", "fifty"}) {
    EXPECT_EQ(read_humidity(std::string("[house]\nhumidity = ") + wrong + "\n", messages), 50);
    EXPECT_NE(messages.find("humidity"), std::string::npos) << wrong;
  }
}

TEST(HumiditySetting, KeptInTheSettingsFileWithEveryOtherLineAsItWas) {
  // The key's line replaced in place, with its own line end.
  EXPECT_EQ(
      with_humidity("[runtime]\r\nbackend = headless\r\n[house]\r\nhumidity = 50\r\n; end\r\n", 65),
      "[runtime]\r\nbackend = headless\r\n[house]\r\nhumidity = 65\r\n; end\r\n");
  // A [house] section without the key: added at its top.
  EXPECT_EQ(with_humidity("[house]\n[window]\nmode = fit\n", 40),
            "[house]\nhumidity = 40\n[window]\nmode = fit\n");
  // No section: added at the end, after a last line without its end.
  EXPECT_EQ(with_humidity("[window]\nmode = fit", 80),
            "[window]\nmode = fit\n[house]\nhumidity = 80\n");
  // A humidity key of another section is not the house's.
  std::string messages;
  const std::string text = with_humidity("[runtime]\n; humidity = 30\n[house]\nhumidity=70\n", 35);
  EXPECT_EQ(text, "[runtime]\n; humidity = 30\n[house]\nhumidity = 35\n");
  EXPECT_EQ(read_humidity(text, messages), 35);
  EXPECT_EQ(messages, "");
}

}  // namespace
