// The composition: every panel in the program's words and units, whether or
// not it was ever opened, and its CSV beside the report.
#include "composition.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "house/house_physics.h"
#include "model/house_state.h"
#include "model/parameters.h"
#include "program_test.h"
#include "thermal/heat_loss_model.h"

namespace maison::testing {
namespace {

using kvr::house::composition_line;

Texts lines(const KvrHouseState& state) {
  Texts result;
  for (int panel = 0; panel < KVR_HOUSE_PANEL_COUNT; ++panel)
    result.push_back(composition_line(house_view(), state, panel));
  return result;
}

using CompositionTest = RunningProgramTest;

TEST_F(CompositionTest, StartHouseWithNoPanelEverOpened) {
  EXPECT_EQ(lines(house),
            (Texts{"Murs : brique pleine 0.105 m, isolant sans, enduit sans",
                   "Plancher : beton plein 0.100 m, isolant sans",
                   "Plafond : beton plein 0.100 m, isolant sans", "Vide sanitaire : ouvert",
                   "Fenêtres : 1, simple", "Ventilation : simple flux, 1.0 vol/h",
                   "Température intérieure : 20 °C", "Site : Cote d'Azur, 10 m"}));
}

TEST_F(CompositionTest, ChoicesOfClosedPanelsInTheirOwnWords) {
  KvrHouseState state = house;
  state.wall_insulation = 2;
  state.wall_insulation_thickness = 2;
  state.wall_render = 2;
  state.wall_render_thickness = 2;
  state.glazing_type = 2;
  state.glazing_gap = 12;
  state.window_count = 2;
  state.ceiling_type = 4;
  state.ceiling_insulation = 5;
  state.ceiling_insulation_thickness = 3;
  state.crawlspace_type = 2;
  state.ventilation_type = 3;
  state.air_change_rate = 0.5;
  state.indoor_temperature = 18;
  state.region = 3;
  state.altitude_band = 2;
  EXPECT_EQ(
      lines(state),
      (Texts{"Murs : brique pleine 0.105 m, laine de verre 0.200 m, enduit chaux 0.020 m",
             "Plancher : beton plein 0.100 m, isolant sans",
             "Plafond : chaux-chanvre 0.100 m, ouate cellulose 0.300 m", "Vide sanitaire : ventile",
             "Fenêtres : 2, double 0.012 m", "Ventilation : double HR, 0.5 vol/h",
             "Température intérieure : 18 °C", "Site : Alpes, 1000 m"}));
  // A log wall takes no render, whatever the render's choice: "s/o" is left out.
  state.wall_type = 3;
  state.wall_insulation = 1;
  EXPECT_EQ(composition_line(house_view(), state, KVR_PANEL_WALLS),
            "Murs : rondins sapin 0.150 m, isolant sans");
  // Triple glazing shows its forced gap; the copy of the program's house is not touched.
  state.glazing_type = 3;
  state.glazing_gap = 8;
  EXPECT_EQ(composition_line(house_view(), state, KVR_PANEL_WINDOWS),
            "Fenêtres : 2, triple 0.016 m");
  EXPECT_EQ(glazing_type, 1);
}

TEST_F(CompositionTest, CsvHasOneLinePerChoiceAndTheReferencesColumnWhilePinned) {
  compute_heat_losses();
  const std::string plain = kvr::house::composition_csv(house_view(), house, nullptr);
  std::istringstream in(plain);
  Texts read;
  for (std::string line; std::getline(in, line);) read.push_back(line);
  ASSERT_EQ(read.size(), 24u);  // the header and the 23 choices
  EXPECT_EQ(read[0], "\"panneau\",\"choix\",\"valeur\",\"unité\"\r");
  EXPECT_EQ(read[2], "\"Murs\",\"épaisseur\",\"0.105\",\"m\"\r");
  EXPECT_EQ(read[22], "\"Site\",\"région\",\"Cote d'Azur\",\"\"\r");

  KvrHouseState reference = house;
  reference.wall_type = 5;
  const std::string pinned = kvr::house::composition_csv(house_view(), house, &reference);
  EXPECT_NE(pinned.find("\"unité\",\"référence valeur\"\r\n"), std::string::npos);
  EXPECT_NE(pinned.find("\"Murs\",\"matériau\",\"brique pleine\",\"\",\"beton cellulaire\"\r\n"),
            std::string::npos);
}

TEST_F(CompositionTest, FileBesideTheReportsTable) {
  EXPECT_EQ(kvr::house::composition_path("out/maison-rapport-20261210-063000-2.csv"),
            "out/maison-rapport-20261210-063000-2-composition.csv");
  const std::filesystem::path path =
      std::filesystem::temp_directory_path() / "maison-house-composition.csv";
  kvr::FrameView view;
  std::ostringstream errors;
  EXPECT_FALSE(kvr::house::write_composition_csv(path.string(), view, errors));
  EXPECT_NE(errors.str().find("handed over no house"), std::string::npos);
  view.house = &house_view();
  ASSERT_TRUE(kvr::house::write_composition_csv(path.string(), view, errors)) << errors.str();
  std::ostringstream written;
  written << std::ifstream(path, std::ios::binary).rdbuf();
  EXPECT_EQ(written.str(), kvr::house::composition_csv(house_view(), house, nullptr));
  std::filesystem::remove(path);
}

}  // namespace
}  // namespace maison::testing
