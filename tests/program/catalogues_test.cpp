// The catalogues: labels, coefficients and switches for example states of
// the walls, floor, ceiling, windows, crawl space and location.
#include "feedback/surface_colours.h"
#include "model/coefficients.h"
#include "model/parameters.h"
#include "program_test.h"
#include "startup/scene_variables.h"
#include "thermal/heat_loss_model.h"

namespace maison::testing {
namespace {

using CatalogueTest = RunningProgramTest;

Texts panel_texts() {
  return texts({&A1, &A2, &A3, &A4, &A5, &A6});
}

TEST_F(CatalogueTest, WallMaterials) {
  open_panel(Panel::walls);
  EXPECT_EQ(panel_texts(), (Texts{"brique pleine", "0.105", "sans", "0.000", "sans", "0.000"}));
  EXPECT_EQ(wall_insulation_lambda, 1000000.0);
  wall_type = 2;
  wall_thickness = 3;
  open_panel(Panel::walls);
  EXPECT_EQ(texts({&A1, &A2}), (Texts{"parpaing creux", "0.225"}));
  EXPECT_EQ(wall_lambda, 1.15);
  EXPECT_EQ(wall_depth, 0.225);
  click_arrow(1, true, 3);
  EXPECT_EQ(text(A1), "beton cellulaire");
  EXPECT_EQ(wall_depth, 0.25);
  EXPECT_EQ(TALBRIK.shown + TALROND.shown + TALOBOIS.shown, 1.0f);
  EXPECT_EQ(TALBRIK.shown, 1.0f);
}

// The road of one click, from the arrow to the results in the same frame.
TEST_F(CatalogueTest, InsulatingTheWallsReachesTheResultsInTheSameFrame) {
  open_panel(Panel::walls);
  const Texts results_before = texts({&B1, &G1});
  const ColourTriple colour_before = COLMUR;
  click_arrow(3, true);
  EXPECT_EQ(texts({&A3, &A4}), (Texts{"laine de verre", "0.000"}));
  EXPECT_EQ(wall_insulation_lambda, 0.039);
  EXPECT_EQ(texts({&B1, &G1}), results_before);  // no thickness chosen yet
  click_arrow(4, true);
  EXPECT_EQ(wall_insulation_depth, 0.1);
  EXPECT_EQ(wall_lining_depth, 0.02);
  EXPECT_EQ(text(B1), "0.35");  // 1 / (0.105 + 0.1 / 0.039 + 0.02 / 0.57 + 0.17)
  EXPECT_LT(std::stod(text(G1)), std::stod(results_before[1]));
  EXPECT_LT(COLMUR.red, colour_before.red);  // a colder wall surface
}

TEST_F(CatalogueTest, NoInsulationWinsOverItsThicknessAndKeepsTheLastConductivity) {
  wall_insulation = 3;
  wall_insulation_thickness = 2;
  open_panel(Panel::walls);
  wall_insulation = 1;
  open_panel(Panel::walls);
  EXPECT_EQ(text(A3), "sans");
  EXPECT_EQ((std::vector<double>{wall_insulation_depth, wall_lining_depth,
                                 wall_insulation_thickness, wall_insulation_lambda}),
            (std::vector<double>{0, 0, 0, 0.05}));
  click_arrow(4, true);  // a level while "sans" does not last
  EXPECT_EQ(wall_insulation_thickness, 0.0);
  wall_insulation = 4;
  wall_insulation_thickness = 3;
  open_panel(Panel::walls);
  EXPECT_EQ(texts({&A3, &A4}), (Texts{"polyurethane", "0.300"}));
  EXPECT_EQ(wall_insulation_lambda, 0.029);
}

TEST_F(CatalogueTest, LogWallsAndTimberFramesTakeNoRender) {
  wall_type = 4;
  open_panel(Panel::walls);
  EXPECT_EQ(wall_lining_depth, 0.02);
  EXPECT_EQ(texts({&A5, &A6}), (Texts{"s/o", "s/o"}));
  EXPECT_EQ(TALOBOIS.shown + TALBRIK.shown + TALROND.shown, 1.0f);
  EXPECT_EQ(TALOBOIS.shown, 1.0f);

  wall_type = 3;
  wall_render = 2;
  wall_render_thickness = 2;
  open_panel(Panel::walls);
  EXPECT_EQ(render_depth, 0.0);
  EXPECT_EQ(texts({&A5, &A6}), (Texts{"s/o", "s/o"}));
  click_arrow(1, false);  // "parpaing creux": the render applies again
  EXPECT_EQ(render_depth, 0.02);
  EXPECT_EQ(texts({&A5, &A6}), (Texts{"enduit chaux", "0.020"}));
  click_arrow(5, false);  // render "sans", then a thickness that does not last
  click_arrow(6, true);
  EXPECT_EQ(wall_render_thickness, 0.0);
  EXPECT_EQ(texts({&A5, &A6}), (Texts{"sans", "0.000"}));
}

TEST_F(CatalogueTest, FloorAndCeilingHaveTheSameMaterialsAndStayApart) {
  open_panel(Panel::floor);
  EXPECT_EQ(panel_texts(), (Texts{"beton plein", "0.100", "sans", "0.000", " ", " "}));
  floor_type = 2;
  floor_thickness = 3;
  floor_insulation = 2;
  floor_insulation_thickness = 3;
  open_panel(Panel::floor);
  EXPECT_EQ(texts({&A1, &A2, &A4}), (Texts{"chene", "0.035", "0.300"}));
  EXPECT_EQ(floor_lambda, 0.2);
  click_arrow(3, false);
  EXPECT_EQ(text(A3), "sans");
  EXPECT_EQ(floor_insulation_thickness, 0.0);
  EXPECT_EQ(floor_insulation_lambda, 0.039);

  ceiling_type = 4;
  ceiling_thickness = 2;
  ceiling_insulation = 5;
  ceiling_insulation_thickness = 3;
  open_panel(Panel::ceiling);
  EXPECT_EQ(panel_texts(), (Texts{"chaux-chanvre", "0.150", "ouate cellulose", "0.300", " ", " "}));
  EXPECT_EQ((std::vector<double>{ceiling_lambda, ceiling_depth, ceiling_insulation_lambda}),
            (std::vector<double>{0.1, 0.15, 0.042}));
  EXPECT_EQ((std::vector<double>{floor_lambda, floor_depth}), (std::vector<double>{0.2, 0.035}));
}

TEST_F(CatalogueTest, GlazingGivesItsUValueAndGap) {
  open_panel(Panel::windows);
  EXPECT_EQ(texts({&A1, &A2, &A3}), (Texts{"simple", "s/o", "  1"}));
  click_arrow(2, true);  // single glazing ignores the gap
  EXPECT_EQ(text(A2), "s/o");
  EXPECT_EQ(window_u, 5.05);
  click_arrow(1, true);
  EXPECT_EQ(texts({&A1, &A2}), (Texts{"double", "0.012"}));
  EXPECT_EQ(window_u, 3.05);
  click_arrow(2, false, 2);
  EXPECT_EQ(text(A2), "0.004");
  EXPECT_EQ(window_u, 3.6);
  click_arrow(1, true);
  EXPECT_EQ(texts({&A1, &A2}), (Texts{"triple", "0.016"}));
  EXPECT_EQ(glazing_gap, 16.0);
  EXPECT_EQ(window_u, 1.1);
  click_arrow(1, false);
  EXPECT_EQ(window_u, 2.75);
  click_arrow(3, true, 2);
  EXPECT_EQ(text(A3), "  3");
  EXPECT_EQ(TALFENT.shown, 3.0f);
}

TEST_F(CatalogueTest, CrawlSpaceAndSite) {
  open_panel(Panel::crawlspace);
  click_arrow(1, true);
  EXPECT_EQ(text(A1), "ventile");
  EXPECT_EQ(crawlspace_resistance, 0.28);
  EXPECT_EQ(TALFNSOL.shown - TALMRSOL.shown, 1.0f);

  altitude_band = 2;
  open_panel(Panel::location);
  EXPECT_EQ(texts({&A1, &A2}), (Texts{"Cote d'Azur", "500 m"}));
  click_arrow(1, true, 2);
  EXPECT_EQ(texts({&A1, &A2}), (Texts{"Alpes", "1000 m"}));
  EXPECT_EQ(outdoor_base_temperature, -18.0);
  EXPECT_EQ(degree_days, 3200.0);
  float markers = 0;
  for (auto* marker : {&TALPACBA, &TALPACHO, &TALJURBA, &TALJURHO, &TALALPBA}) {
    markers += marker->shown;
  }
  EXPECT_EQ(markers, 0.0f);
  EXPECT_EQ(TALALPHO.shown, 1.0f);
  open_panel(Panel::walls);  // the last site stays
  EXPECT_EQ(outdoor_base_temperature, -18.0);
}

}  // namespace
}  // namespace maison::testing
