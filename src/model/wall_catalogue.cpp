// The Walls block: wall material, insulation and render become the wall
// coefficients, the six texts of the Walls panel and the wall model shown.
#include <iterator>
#include <string_view>

#include "model/catalogues.h"
#include "model/coefficients.h"
#include "model/insulation_materials.h"
#include "model/parameters.h"
#include "startup/linked_text.h"
#include "startup/scene_variables.h"

namespace maison {
namespace {

struct WallMaterial {
  double wall_type;
  std::string_view label;
  double lambda;    // W/(m.K)
  double depth[3];  // m, at wall_thickness 1, 2, 3
  DisplaySwitch* model;
};

constexpr WallMaterial wall_materials[] = {
    // wall_type, label, conductivity, {thickness at level 1, 2, 3}, wall model shown
    {1, "brique pleine", 1.0, {0.105, 0.215, 0.33}, &TALBRIK},
    {2, "parpaing creux", 1.15, {0.1, 0.15, 0.225}, &TALBRIK},
    {3, "rondins sapin", 0.14, {0.15, 0.2, 0.3}, &TALROND},
    {4, "ossature bois", 0.14, {0.06, 0.12, 0.16}, &TALOBOIS},
    {5, "beton cellulaire", 0.1, {0.15, 0.2, 0.25}, &TALBRIK},
};

constexpr double thickness_levels[] = {1, 2, 3};

// Insulation comes with a lining layer of this thickness; timber frames
// always have one.
constexpr double lining_depth = 0.02;

constexpr double no_render = 1;
constexpr double lime_render = 2;

struct RenderLevel {
  double level;
  double depth;  // m
};

constexpr RenderLevel render_levels[] = {
    // wall_render_thickness, render_depth
    {1, 0.01},
    {2, 0.02},
};

// Log walls and timber frames take no render: A5 and A6 read "s/o".
struct UnrenderedWall {
  double wall_type;
  bool has_lining;
};

constexpr UnrenderedWall unrendered_walls[] = {
    // wall_type, lining forced
    {3, false},
    {4, true},
};

}  // namespace

void apply_wall_catalogue() {
  TALBRIK.shown = 0.0f;
  TALROND.shown = 0.0f;
  TALOBOIS.shown = 0.0f;

  for (const WallMaterial& material : wall_materials) {
    if (wall_type != material.wall_type) continue;
    write_label(A1, material.label);
    wall_lambda = material.lambda;
    material.model->shown = 1.0f;
    for (std::size_t column = 0; column < std::size(thickness_levels); ++column) {
      if (wall_thickness == thickness_levels[column]) wall_depth = material.depth[column];
    }
    write_number(A2, wall_depth, format_3_3f);
  }

  for (const InsulationMaterial& insulation : insulation_materials) {
    if (wall_insulation != insulation.option) continue;
    write_label(A3, insulation.label);
    wall_insulation_lambda = insulation.lambda;
  }
  for (const InsulationLevel& level : insulation_levels) {
    if (wall_insulation_thickness != level.level) continue;
    wall_insulation_depth = level.depth;
    wall_lining_depth = lining_depth;
  }
  // "sans" wins over any thickness level and sends the level back to 0; the
  // conductivity of the last material stays, behind a layer of no thickness.
  if (wall_insulation == no_insulation) {
    wall_insulation_depth = 0;
    wall_lining_depth = 0;
    wall_insulation_thickness = 0;
    write_label(A3, no_insulation_label);
  }
  write_number(A4, wall_insulation_depth, format_3_3f);

  if (wall_render == lime_render) write_label(A5, "enduit chaux");
  if (wall_render == no_render) {
    render_depth = 0;
    wall_render_thickness = 0;
    write_label(A5, "sans");
  }
  for (const RenderLevel& level : render_levels) {
    if (wall_render_thickness == level.level && wall_render != no_render) {
      render_depth = level.depth;
    }
  }
  write_number(A6, render_depth, format_3_3f);

  // The render parameters keep their values and apply again with another wall type.
  for (const UnrenderedWall& wall : unrendered_walls) {
    if (wall_type != wall.wall_type) continue;
    render_depth = 0;
    if (wall.has_lining) wall_lining_depth = lining_depth;
    write_label(A5, "s/o");
    write_label(A6, "s/o");
  }
}

}  // namespace maison
