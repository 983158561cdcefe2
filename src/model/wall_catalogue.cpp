// The Walls block: wall material, insulation and render become the wall
// coefficients, the six texts of the Walls panel and the wall model shown.
#include <iterator>
#include <string_view>

#include "model/catalogues.h"
#include "model/coefficients.h"
#include "model/insulation_materials.h"
#include "model/panel_output.h"

namespace maison {
namespace {

struct WallMaterial {
  double wall_type;
  std::string_view label;
  double lambda;    // W/(m.K)
  double depth[3];  // m, at wall_thickness 1, 2, 3
  SceneSwitch model;
};

constexpr WallMaterial wall_materials[] = {
    // wall_type, label, conductivity, {thickness at level 1, 2, 3}, wall model shown
    {1, "brique pleine", 1.0, {0.105, 0.215, 0.33}, SceneSwitch::talbrik},
    {2, "parpaing creux", 1.15, {0.1, 0.15, 0.225}, SceneSwitch::talbrik},
    {3, "rondins sapin", 0.14, {0.15, 0.2, 0.3}, SceneSwitch::talrond},
    {4, "ossature bois", 0.14, {0.06, 0.12, 0.16}, SceneSwitch::talobois},
    {5, "beton cellulaire", 0.1, {0.15, 0.2, 0.25}, SceneSwitch::talbrik},
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

void apply_wall_catalogue(KvrHouseState& s, PanelOutput& out) {
  out.show(SceneSwitch::talbrik, 0.0f);
  out.show(SceneSwitch::talrond, 0.0f);
  out.show(SceneSwitch::talobois, 0.0f);

  for (const WallMaterial& material : wall_materials) {
    if (s.wall_type != material.wall_type) continue;
    out.label(1, material.label);
    s.wall_lambda = material.lambda;
    out.show(material.model, 1.0f);
    for (std::size_t column = 0; column < std::size(thickness_levels); ++column) {
      if (s.wall_thickness == thickness_levels[column]) s.wall_depth = material.depth[column];
    }
    out.number(2, s.wall_depth, format_3_3f);
  }

  for (const InsulationMaterial& insulation : insulation_materials) {
    if (s.wall_insulation != insulation.option) continue;
    out.label(3, insulation.label);
    s.wall_insulation_lambda = insulation.lambda;
  }
  for (const InsulationLevel& level : insulation_levels) {
    if (s.wall_insulation_thickness != level.level) continue;
    s.wall_insulation_depth = level.depth;
    s.wall_lining_depth = lining_depth;
  }
  // "sans" wins over any thickness level and sends the level back to 0; the
  // conductivity of the last material stays, behind a layer of no thickness.
  if (s.wall_insulation == no_insulation) {
    s.wall_insulation_depth = 0;
    s.wall_lining_depth = 0;
    s.wall_insulation_thickness = 0;
    out.label(3, no_insulation_label);
  }
  out.number(4, s.wall_insulation_depth, format_3_3f);

  if (s.wall_render == lime_render) out.label(5, "enduit chaux");
  if (s.wall_render == no_render) {
    s.render_depth = 0;
    s.wall_render_thickness = 0;
    out.label(5, "sans");
  }
  for (const RenderLevel& level : render_levels) {
    if (s.wall_render_thickness == level.level && s.wall_render != no_render) {
      s.render_depth = level.depth;
    }
  }
  out.number(6, s.render_depth, format_3_3f);

  // The render parameters keep their values and apply again with another wall type.
  for (const UnrenderedWall& wall : unrendered_walls) {
    if (s.wall_type != wall.wall_type) continue;
    s.render_depth = 0;
    if (wall.has_lining) s.wall_lining_depth = lining_depth;
    out.label(5, "s/o");
    out.label(6, "s/o");
  }
}

}  // namespace maison
