// The insulation materials shared by walls, floor and ceiling. Option 1,
// "sans", has no row: choosing it clears the layer instead (see the blocks).
#ifndef MAISON_MODEL_INSULATION_MATERIALS_H
#define MAISON_MODEL_INSULATION_MATERIALS_H

#include <string_view>

namespace maison {

struct InsulationMaterial {
  double option;
  std::string_view label;
  double lambda;  // W/(m.K)
};

inline constexpr InsulationMaterial insulation_materials[] = {
    // option, label, conductivity
    {2, "laine de verre", 0.039},
    {3, "laine de bois", 0.05},
    {4, "polyurethane", 0.029},
    {5, "ouate cellulose", 0.042},
};

inline constexpr double no_insulation = 1;
inline constexpr std::string_view no_insulation_label = "sans";

// Insulation thickness by level, the same for every material and element.
struct InsulationLevel {
  double level;
  double depth;  // m
};

inline constexpr InsulationLevel insulation_levels[] = {
    // level, thickness
    {1, 0.1},
    {2, 0.2},
    {3, 0.3},
};

}  // namespace maison

#endif
