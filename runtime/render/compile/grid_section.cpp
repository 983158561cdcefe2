// The scene's "grid" section read into the layout step's terms: the free
// area, the boxes kept clear, the gap, the smallest scale the area must
// hold every view at, the sides it grows on, and the views it names.
#include "compile/compiler.h"

namespace kvr::render {

namespace {

Box box_of(const nlohmann::json& v) {
  return {v[0].get<double>(), v[1].get<double>(), v[2].get<double>(), v[3].get<double>()};
}

}  // namespace

void compile_grid(const Scene& scene, std::vector<Node>& nodes, ViewGrid& grid,
                  std::vector<std::string>& problems) {
  const nlohmann::json& g = scene.grid;
  if (!g.is_object()) return;
  GridSpec spec;
  spec.area = box_of(g["area"]);
  if (g.contains("keep"))
    for (const nlohmann::json& b : g["keep"]) spec.keep.push_back(box_of(b));
  spec.gap = g.value("gap", 4.0);
  spec.min_scale = g.value("min_scale", 0.5);
  if (g.contains("grow")) {
    for (const nlohmann::json& side : g["grow"]) {
      std::string s = side.get<std::string>();
      spec.grow_left = spec.grow_left || s == "left";
      spec.grow_right = spec.grow_right || s == "right";
      spec.grow_top = spec.grow_top || s == "top";
      spec.grow_bottom = spec.grow_bottom || s == "bottom";
    }
  }
  std::vector<std::string> names;
  for (const nlohmann::json& name : g["views"]) names.push_back(name.get<std::string>());
  const std::string where = scene.file + ": grid";
  grid.bind(spec, names, nodes, where, problems);
  if (!grid.present()) return;
  // The area alone, with no margin, holds every view at the smallest scale.
  const GridSpec& bound = grid.spec();
  std::vector<Placement> placed(bound.views.size());
  std::uint32_t all =
      bound.views.size() >= 32 ? ~std::uint32_t{0} : (std::uint32_t{1} << bound.views.size()) - 1;
  double scale = lay_out_views(bound, all, bound.area, placed.data());
  if (scale + 1e-9 < bound.min_scale)
    problems.push_back(where + ": the area holds all the views at a scale of " +
                       std::to_string(scale) + " only, below min_scale");
}

}  // namespace kvr::render
