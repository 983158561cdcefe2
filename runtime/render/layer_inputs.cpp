// A layer group at compile time: its region, everything its drawing reads
// (the key its picture is kept under) and the shapes that would be cut.
#include <algorithm>

#include "compiler.h"

namespace kvr::render {

namespace {

void collect_cond(const Cond& c, LayerSpec& layer) {
  if (c.var >= 0) layer.vars.push_back(c.var);
  if (c.op == Cond::Op::Pinned) layer.reference = true;
  if (c.op == Cond::Op::Flag && c.flag >= 0) layer.flags |= std::uint64_t{1} << c.flag;
  for (const Cond& sub : c.subs) collect_cond(sub, layer);
}

void collect_paint(const Paint& p, LayerSpec& layer) {
  if (p.var >= 0) layer.vars.push_back(p.var);
}

void collect_parts(const std::vector<TextPart>& parts, LayerSpec& layer) {
  for (const TextPart& t : parts) {
    if (t.var >= 0) layer.vars.push_back(t.var);
    if (t.pinned) layer.reference = true;
  }
}

// Everything a layer's drawing reads, gathered from its subtree.
void collect(const Node& n, LayerSpec& layer) {
  collect_cond(n.visible, layer);
  collect_paint(n.fill, layer);
  collect_paint(n.stroke, layer);
  collect_paint(n.colour, layer);
  collect_paint(n.hatch.colour, layer);
  collect_parts(n.text, layer);
  collect_parts(n.note, layer);
  for (const Bar& b : n.bars) {
    collect_paint(b.colour, layer);
    collect_parts({b.value}, layer);
    if (b.has_reference) collect_parts({b.reference}, layer);
  }
  collect_parts({n.current}, layer);
  if (n.has_reference) collect_parts({n.reference}, layer);
  collect_paint(n.better, layer);
  collect_paint(n.worse, layer);
  collect_cond(n.second_visible, layer);
  for (const Stop& st : n.stops) collect_parts({st.label}, layer);
  for (const TableRow& row : n.rows) {
    collect_cond(row.highlight, layer);
    for (const auto& cell : row.cells) collect_parts(cell, layer);
    for (const auto& cell : row.second) collect_parts(cell, layer);
  }
  if (n.slide_anim >= 0) layer.anims.push_back(n.slide_anim);
  if (n.fade_anim >= 0) layer.anims.push_back(n.fade_anim);
  if (n.kind == Kind::Button) layer.buttons = true;
  for (const Node& child : n.children) collect(child, layer);
}

}  // namespace

void ElementCompiler::layer(const json& e, Node& node, const std::string& where) {
  Node region;
  box(e["layer"], region, where + ".layer");
  node.layer.x1 = region.x1;
  node.layer.y1 = region.y1;
  node.layer.x2 = region.x2;
  node.layer.y2 = region.y2;
  node.layer.index = layers_++;
  for (const Node& child : node.children) {
    collect(child, node.layer);
    check_inside(child, node, where);
  }
  if (node.slide_anim >= 0) node.layer.anims.push_back(node.slide_anim);
  if (node.fade_anim >= 0) node.layer.anims.push_back(node.fade_anim);
  std::vector<int>& vars = node.layer.vars;
  std::sort(vars.begin(), vars.end());
  vars.erase(std::unique(vars.begin(), vars.end()), vars.end());
}

// A layer shows only its region: a shape reaching outside it would be cut.
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
