// The Floor and Ceiling blocks: one procedure over two sets of variables.
// Material, thickness and insulation become the element's coefficients and
// the texts A1 to A4 of its panel; A5 and A6 keep the blank of the panel change.
#include <iterator>
#include <string_view>

#include "model/catalogues.h"
#include "model/coefficients.h"
#include "model/insulation_materials.h"
#include "model/panel_output.h"

namespace maison {
namespace {

struct SlabMaterial {
  double option;
  std::string_view label;
  double lambda;    // W/(m.K)
  double depth[3];  // m, at thickness level 1, 2, 3
};

// The same materials for the floor and the ceiling.
constexpr SlabMaterial slab_materials[] = {
    // option, label, conductivity, {thickness at level 1, 2, 3}
    {1, "beton plein", 1.65, {0.1, 0.15, 0.2}},
    {2, "chene", 0.2, {0.015, 0.025, 0.035}},
    {3, "sapin", 0.14, {0.015, 0.025, 0.035}},
    {4, "chaux-chanvre", 0.1, {0.1, 0.15, 0.2}},
};

constexpr double thickness_levels[] = {1, 2, 3};

struct Slab {
  double& type;
  double& thickness;
  double& insulation;
  double& insulation_thickness;
  double& lambda;
  double& depth;
  double& insulation_lambda;
  double& insulation_depth;
};

void apply_slab_catalogue(const Slab& slab, PanelOutput& out) {
  for (const SlabMaterial& material : slab_materials) {
    if (slab.type != material.option) continue;
    out.label(1, material.label);
    slab.lambda = material.lambda;
    for (std::size_t column = 0; column < std::size(thickness_levels); ++column) {
      if (slab.thickness == thickness_levels[column]) slab.depth = material.depth[column];
    }
    out.number(2, slab.depth, format_3_3f);
  }
  for (const InsulationMaterial& insulation : insulation_materials) {
    if (slab.insulation != insulation.option) continue;
    out.label(3, insulation.label);
    slab.insulation_lambda = insulation.lambda;
  }
  for (const InsulationLevel& level : insulation_levels) {
    if (slab.insulation_thickness == level.level) slab.insulation_depth = level.depth;
  }
  // "sans" wins over any thickness level and sends the level back to 0.
  if (slab.insulation == no_insulation) {
    slab.insulation_depth = 0;
    slab.insulation_thickness = 0;
    out.label(3, no_insulation_label);
  }
  out.number(4, slab.insulation_depth, format_3_3f);
}

}  // namespace

void apply_floor_catalogue(KvrHouseState& s, PanelOutput& out) {
  apply_slab_catalogue(
      {s.floor_type, s.floor_thickness, s.floor_insulation, s.floor_insulation_thickness,
       s.floor_lambda, s.floor_depth, s.floor_insulation_lambda, s.floor_insulation_depth},
      out);
}

void apply_ceiling_catalogue(KvrHouseState& s, PanelOutput& out) {
  apply_slab_catalogue(
      {s.ceiling_type, s.ceiling_thickness, s.ceiling_insulation, s.ceiling_insulation_thickness,
       s.ceiling_lambda, s.ceiling_depth, s.ceiling_insulation_lambda, s.ceiling_insulation_depth},
      out);
}

}  // namespace maison
