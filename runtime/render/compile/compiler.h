// Compiles the scene's JSON elements into Nodes once, at load: references
// resolved to indices, hatching laid, paragraphs wrapped, each drawn
// element given what it reads and covers. Anything it cannot use is reported, naming the element,
// and skipped or given its default.
#ifndef KVR_RENDER_COMPILER_H
#define KVR_RENDER_COMPILER_H

#include <ctime>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "layout/view_grid.h"
#include "model/element_model.h"
#include "scene.h"
#include "text/text.h"

namespace kvr::render {

class ElementCompiler {
 public:
  using json = nlohmann::json;

  ElementCompiler(const Scene& scene, std::vector<std::string>& problems, TextMeasure& measure)
      : scene_(scene), problems_(problems), measure_(measure) {}

  // One element and its children; `where` names it in messages.
  Node element(const json& e, const std::string& where);

  // How many drawn elements (not groups) and buttons have been compiled.
  int leaves() const { return leaves_; }
  int buttons() const { return buttons_; }

  // Compiling the report's page: date texts show `when`, and scene regions
  // draw `scene_nodes` (the compiled main scene). Without it both are
  // reported as problems.
  void for_report(std::time_t when, const std::vector<Node>* scene_nodes) {
    report_time_ = when;
    scene_nodes_ = scene_nodes;
  }

 private:
  void problem(const std::string& where, const std::string& what);

  // Values (compiler.cpp).
  int variable(const json& v, const std::string& where);
  double number(const json& e, const char* key, double fallback, const std::string& where);
  Point point(const json& v, const std::string& where);
  std::vector<Point> points(const json& v, const std::string& where);
  void box(const json& v, Node& node, const std::string& where);
  static bool literal_colour(const json& v, Rgba& out);
  Paint paint_value(const json& v, const std::string& where);
  Paint paint(const json& e, const char* key, const std::string& where);
  std::vector<TextPart> parts(const json& v, const std::string& where);
  TextPart part(const json& v, const std::string& where);
  Cond condition(const json& v, const std::string& where);
  Hatch hatch(const json& v, const std::string& where);
  int animation(const json& v, const std::string& where);

  // Members of particular kinds (compiler_kinds.cpp).
  void group_transform(const json& e, Node& node, const std::string& where);
  void paragraph(const json& e, Node& node, const std::string& where);
  void button_style(const json& e, Node& node, const std::string& where);
  void bar_chart(const json& e, Node& node, const std::string& where);
  void legend(const json& e, Node& node, const std::string& where);
  void class_scale(const json& e, Node& node, const std::string& where);
  void site_marker(const json& e, Node& node, const std::string& where);
  void table(const json& e, Node& node, const std::string& where);

  // Kinds and members that read the reference, the class scales and the
  // runtime's own buttons (compiler_reference.cpp).
  void button_action(const json& e, Node& node, const std::string& where);
  void focus_scope(const json& e, Node& node, const std::string& where);
  void use_class_scale(const json& e, Node& node, const std::string& where);
  void comparison(const json& e, Node& node, const std::string& where);
  void class_distance(const json& e, Node& node, const std::string& where);
  void scene_region(const json& e, Node& node, const std::string& where);
  void house_view(const json& e, Node& node, const std::string& where);
  void surface_marks(const json& e, Node& node, const std::string& where);
  // 0 for "none", 1 to 3 for the views, -1 for anything else.
  static int house_view_number(const std::string& name);
  std::string date_text(const json& format, const std::string& where);

  // A drawn element's slot, inputs and ink (leaf_inputs.cpp).
  void leaf(Node& n);

  // A group drawn only inside its region (layer_region.cpp).
  void layer(const json& e, Node& node, const std::string& where);
  void check_inside(const Node& n, const Node& layer, const std::string& where);

  const Scene& scene_;
  std::vector<std::string>& problems_;
  TextMeasure& measure_;
  int buttons_ = 0;
  int leaves_ = 0;
  int scopes_ = 0;
  int scope_ = -1;  // the focus scope being compiled
  std::time_t report_time_ = 0;
  const std::vector<Node>* scene_nodes_ = nullptr;
};

// The scene's grid of result views (grid_section.cpp): its views found
// among the compiled `nodes` and numbered, the rest checked; problems
// reported. Leaves `grid` empty when the scene has none.
void compile_grid(const Scene& scene, std::vector<Node>& nodes, ViewGrid& grid,
                  std::vector<std::string>& problems);

}  // namespace kvr::render

#endif
