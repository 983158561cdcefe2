// A group with a region of its own (a layer): it is drawn only inside the
// region, so a shape reaching outside it would be cut and is reported.
#include "compile/compiler.h"

namespace kvr::render {

namespace {

void collect_anims(const Node& n, LayerSpec& layer) {
  if (n.slide_anim >= 0) layer.anims.push_back(n.slide_anim);
  if (n.fade_anim >= 0) layer.anims.push_back(n.fade_anim);
  for (const Node& child : n.children) collect_anims(child, layer);
}

}  // namespace

void ElementCompiler::layer(const json& e, Node& node, const std::string& where) {
  Node region;
  box(e["layer"], region, where + ".layer");
  node.layer.set = true;
  node.layer.x1 = region.x1;
  node.layer.y1 = region.y1;
  node.layer.x2 = region.x2;
  node.layer.y2 = region.y2;
  collect_anims(node, node.layer);
  for (const Node& child : node.children) check_inside(child, node, where);
}

// Texts are left out (their width depends on what the program writes).
void ElementCompiler::check_inside(const Node& n, const Node& layer, const std::string& where) {
  double x1 = 1e9, y1 = 1e9, x2 = -1e9, y2 = -1e9;
  auto grow = [&](double ax, double ay, double margin) {
    x1 = std::min(x1, ax - margin);
    y1 = std::min(y1, ay - margin);
    x2 = std::max(x2, ax + margin);
    y2 = std::max(y2, ay + margin);
  };
  double half = n.stroke.set ? n.line_width / 2.0 : 0.0;
  switch (n.kind) {
    case Kind::Rect:
    case Kind::Button:
    case Kind::Table:
    case Kind::BarChart:
    case Kind::ClassScale:
      grow(n.x1, n.y1, half);
      grow(n.x2, n.y2, half);
      break;
    case Kind::Polygon:
    case Kind::Polyline:
      for (const Point& p : n.points)
        grow(p.x, p.y, n.kind == Kind::Polyline ? n.line_width / 2.0 : half);
      break;
    case Kind::Circle:
      grow(n.label_at.x, n.label_at.y, n.radius + half);
      break;
    default:
      break;
  }
  // A region edge on the layout's edge cuts nothing that would show.
  const double slack = 0.01;
  const LayerSpec& r = layer.layer;
  double rx1 = r.x1 <= 0.0 ? -1e9 : r.x1 - slack;
  double ry1 = r.y1 <= 0.0 ? -1e9 : r.y1 - slack;
  double rx2 = r.x2 >= scene_.width ? 1e9 : r.x2 + slack;
  double ry2 = r.y2 >= scene_.height ? 1e9 : r.y2 + slack;
  if (x2 >= x1 && (x1 < rx1 || y1 < ry1 || x2 > rx2 || y2 > ry2)) {
    problem(where, (n.id.empty() ? std::string("an element") : "\"" + n.id + "\"") +
                       " reaches outside the layer region and would be cut");
  }
  for (const Node& child : n.children) check_inside(child, layer, where);
}

}  // namespace kvr::render
