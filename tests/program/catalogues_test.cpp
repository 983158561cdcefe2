// The catalogues: labels, coefficients and switches for the example states
// of the walls, floor, ceiling, windows, crawl space and location.
#include "model/coefficients.h"
#include "model/parameters.h"
#include "program_test.h"
#include "startup/scene_variables.h"

namespace maison::testing {
namespace {

using CatalogueTest = RunningProgramTest;

std::vector<std::string> panel_texts() {
  return {text(A1), text(A2), text(A3), text(A4), text(A5), text(A6)};
}

TEST_F(CatalogueTest, WallsFirstOpeningShowsTheStartChoices) {
  open_panel(Panel::walls);
  EXPECT_EQ(panel_texts(),
            (std::vector<std::string>{"brique pleine", "0.105", "sans", "0.000", "sans", "0.000"}));
  EXPECT_EQ(TALBRIK.shown, 1.0f);
  EXPECT_EQ(TALROND.shown, 0.0f);
  EXPECT_EQ(TALOBOIS.shown, 0.0f);
  EXPECT_EQ(wall_lambda, 1.0);
  EXPECT_EQ(wall_depth, 0.105);
  EXPECT_EQ(wall_insulation_depth + wall_lining_depth + render_depth, 0.0);
}

struct WallRow {
  double type;
  const char* label;
  double lambda;
  double depth[3];
  DisplaySwitch* model;
};

TEST_F(CatalogueTest, WallMaterialsGiveTheirLabelConductivityThicknessAndModel) {
  const WallRow rows[] = {
      {1, "brique pleine", 1.0, {0.105, 0.215, 0.33}, &TALBRIK},
      {2, "parpaing creux", 1.15, {0.1, 0.15, 0.225}, &TALBRIK},
      {3, "rondins sapin", 0.14, {0.15, 0.2, 0.3}, &TALROND},
      {4, "ossature bois", 0.14, {0.06, 0.12, 0.16}, &TALOBOIS},
      {5, "beton cellulaire", 0.1, {0.15, 0.2, 0.25}, &TALBRIK},
  };
  for (const WallRow& row : rows) {
    for (int level = 1; level <= 3; ++level) {
      SCOPED_TRACE(::testing::Message() << row.label << " level " << level);
      wall_type = row.type;
      wall_thickness = level;
      open_panel(Panel::walls);
      EXPECT_EQ(text(A1), row.label);
      EXPECT_EQ(wall_lambda, row.lambda);
      EXPECT_EQ(wall_depth, row.depth[level - 1]);
      char shown[16];
      std::snprintf(shown, sizeof shown, "%.3f", row.depth[level - 1]);
      EXPECT_EQ(text(A2), shown);
      EXPECT_EQ(TALBRIK.shown + TALROND.shown + TALOBOIS.shown, 1.0f);
      EXPECT_EQ(row.model->shown, 1.0f);
    }
  }
}

TEST_F(CatalogueTest, WallInsulationAndItsThickness) {
  wall_insulation = 4;
  wall_insulation_thickness = 3;
  open_panel(Panel::walls);
  EXPECT_EQ(text(A3), "polyurethane");
  EXPECT_EQ(wall_insulation_lambda, 0.029);
  EXPECT_EQ(wall_insulation_depth, 0.3);
  EXPECT_EQ(wall_lining_depth, 0.02);
  EXPECT_EQ(text(A4), "0.300");

  wall_insulation = 3;
  wall_insulation_thickness = 2;
  open_panel(Panel::walls);
  wall_insulation = 1;
  open_panel(Panel::walls);
  EXPECT_EQ(text(A3), "sans");
  EXPECT_EQ(wall_insulation_depth, 0.0);
  EXPECT_EQ(wall_lining_depth, 0.0);
  EXPECT_EQ(wall_insulation_thickness, 0.0);
  EXPECT_EQ(wall_insulation_lambda, 0.05);  // the last material's stays

  click_arrow(4, true);  // a level while "sans" does not last
  EXPECT_EQ(wall_insulation_thickness, 0.0);
  click_arrow(3, true);
  EXPECT_EQ(text(A3), "laine de verre");
  EXPECT_EQ(wall_insulation_lambda, 0.039);
  EXPECT_EQ(text(A4), "0.000");
  click_arrow(4, true);
  EXPECT_EQ(text(A4), "0.100");
  click_arrow(3, true, 3);
  EXPECT_EQ(text(A3), "ouate cellulose");
  EXPECT_EQ(wall_insulation_lambda, 0.042);
  EXPECT_EQ(text(A4), "0.100");
}

TEST_F(CatalogueTest, LogWallsAndTimberFramesTakeNoRender) {
  wall_type = 4;
  open_panel(Panel::walls);
  EXPECT_EQ(wall_lining_depth, 0.02);
  EXPECT_EQ(wall_insulation_depth, 0.0);
  EXPECT_EQ(text(A5), "s/o");
  EXPECT_EQ(text(A6), "s/o");
  EXPECT_EQ(TALOBOIS.shown, 1.0f);
  EXPECT_EQ(TALBRIK.shown + TALROND.shown, 0.0f);

  wall_type = 3;
  wall_render = 2;
  wall_render_thickness = 2;
  open_panel(Panel::walls);
  EXPECT_EQ(render_depth, 0.0);
  EXPECT_EQ(text(A5), "s/o");
  EXPECT_EQ(text(A6), "s/o");
  click_arrow(1, false);  // to "parpaing creux": the render applies again
  EXPECT_EQ(render_depth, 0.02);
  EXPECT_EQ(text(A5), "enduit chaux");
  EXPECT_EQ(text(A6), "0.020");
  click_arrow(6, false);
  EXPECT_EQ(render_depth, 0.01);

  click_arrow(5, false);  // render "sans"
  click_arrow(6, true);
  EXPECT_EQ(wall_render_thickness, 0.0);
  EXPECT_EQ(text(A5), "sans");
  EXPECT_EQ(text(A6), "0.000");
}

TEST_F(CatalogueTest, FloorAndCeilingHaveTheSameMaterialsAndStayApart) {
  open_panel(Panel::floor);
  EXPECT_EQ(panel_texts(),
            (std::vector<std::string>{"beton plein", "0.100", "sans", "0.000", " ", " "}));
  EXPECT_EQ(floor_insulation_lambda, 1000000.0);

  floor_type = 2;
  floor_thickness = 3;
  floor_insulation = 2;
  floor_insulation_thickness = 3;
  open_panel(Panel::floor);
  EXPECT_EQ(text(A1), "chene");
  EXPECT_EQ(floor_lambda, 0.2);
  EXPECT_EQ(floor_depth, 0.035);
  EXPECT_EQ(text(A2), "0.035");
  EXPECT_EQ(floor_insulation_depth, 0.3);
  click_arrow(3, false);
  EXPECT_EQ(text(A3), "sans");
  EXPECT_EQ(floor_insulation_depth, 0.0);
  EXPECT_EQ(floor_insulation_thickness, 0.0);
  EXPECT_EQ(floor_insulation_lambda, 0.039);
  EXPECT_EQ(ceiling_lambda, 1.65);  // the ceiling is untouched
  EXPECT_EQ(ceiling_depth, 0.1);

  ceiling_type = 4;
  ceiling_thickness = 2;
  ceiling_insulation = 5;
  ceiling_insulation_thickness = 3;
  open_panel(Panel::ceiling);
  EXPECT_EQ(panel_texts(), (std::vector<std::string>{"chaux-chanvre", "0.150", "ouate cellulose",
                                                     "0.300", " ", " "}));
  EXPECT_EQ(ceiling_lambda, 0.1);
  EXPECT_EQ(ceiling_depth, 0.15);
  EXPECT_EQ(ceiling_insulation_lambda, 0.042);
  EXPECT_EQ(floor_lambda, 0.2);
  click_arrow(1, false);
  EXPECT_EQ(text(A1), "sapin");
  EXPECT_EQ(ceiling_lambda, 0.14);
  EXPECT_EQ(ceiling_depth, 0.025);
}

TEST_F(CatalogueTest, GlazingGivesItsUValueAndGap) {
  open_panel(Panel::windows);
  EXPECT_EQ(text(A1), "simple");
  EXPECT_EQ(text(A2), "s/o");
  EXPECT_EQ(text(A3), "  1");
  click_arrow(2, true);  // the gap moves, single glazing ignores it
  EXPECT_EQ(glazing_gap, 12.0);
  EXPECT_EQ(text(A2), "s/o");
  EXPECT_EQ(window_u, 5.05);

  click_arrow(1, true);
  EXPECT_EQ(text(A1), "double");
  EXPECT_EQ(text(A2), "0.012");
  EXPECT_EQ(window_u, 3.05);
  const std::pair<const char*, double> gaps[] = {{"0.008", 3.3}, {"0.004", 3.6}};
  for (const auto& [shown, u] : gaps) {
    click_arrow(2, false);
    EXPECT_EQ(text(A2), shown);
    EXPECT_EQ(window_u, u);
  }

  click_arrow(1, true);
  EXPECT_EQ(text(A1), "triple");
  EXPECT_EQ(glazing_gap, 16.0);
  EXPECT_EQ(text(A2), "0.016");
  EXPECT_EQ(window_u, 1.1);
  click_arrow(1, false);
  EXPECT_EQ(window_u, 2.75);

  click_arrow(3, true, 2);
  EXPECT_EQ(text(A3), "  3");
  EXPECT_EQ(TALFENT.shown, 3.0f);
}

TEST_F(CatalogueTest, CrawlSpaceGivesItsResistanceAndSkirt) {
  const struct {
    const char* label;
    double resistance;
    float closed, vented;
  } rows[] = {{"ouvert", 0.22, 0, 0}, {"ventile", 0.28, 0, 1}, {"ferme", 0.34, 1, 0}};
  open_panel(Panel::crawlspace);
  for (const auto& row : rows) {
    EXPECT_EQ(text(A1), row.label);
    EXPECT_EQ(crawlspace_resistance, row.resistance);
    EXPECT_EQ(TALMRSOL.shown, row.closed);
    EXPECT_EQ(TALFNSOL.shown, row.vented);
    click_arrow(1, true);
  }
}

TEST_F(CatalogueTest, EachSiteGivesItsClimateAndItsMarkerAlone) {
  const struct {
    double region, band;
    const char *name, *altitude;
    double temperature, degree_days;
    DisplaySwitch* marker;
  } sites[] = {
      {1, 1, "Cote d'Azur", "10 m", -2, 1700, &TALPACBA},
      {1, 2, "Cote d'Azur", "500 m", -4, 2000, &TALPACHO},
      {2, 1, "Auvergne", "500 m", -11, 2500, &TALJURBA},
      {2, 2, "Auvergne", "1000 m", -16, 3000, &TALJURHO},
      {3, 1, "Alpes", "500 m", -13, 2700, &TALALPBA},
      {3, 2, "Alpes", "1000 m", -18, 3200, &TALALPHO},
  };
  for (const auto& site : sites) {
    SCOPED_TRACE(site.name);
    region = site.region;
    altitude_band = site.band;
    open_panel(Panel::location);
    EXPECT_EQ(text(A1), site.name);
    EXPECT_EQ(text(A2), site.altitude);
    EXPECT_EQ(outdoor_base_temperature, site.temperature);
    EXPECT_EQ(degree_days, site.degree_days);
    float markers = 0;
    for (const auto& other : sites) markers += other.marker->shown;
    EXPECT_EQ(markers, 1.0f);
    EXPECT_EQ(site.marker->shown, 1.0f);
  }
  open_panel(Panel::walls);  // the last site stays
  EXPECT_EQ(outdoor_base_temperature, -18.0);
  EXPECT_EQ(degree_days, 3200.0);
}

}  // namespace
}  // namespace maison::testing
