// What a drawn element reads: the records and flags its look depends on,
// besides its visibility. A frame drawn by its changes compares them.
#include <algorithm>

#include "compiler.h"
#include "ink_bounds.h"

namespace kvr::render {

namespace {

void read_cond(const Cond& c, Node& n) {
  if (c.var >= 0) n.reads.push_back(c.var);
  if (c.op == Cond::Op::Flag && c.flag >= 0) n.read_flags |= std::uint64_t{1} << c.flag;
  for (const Cond& sub : c.subs) read_cond(sub, n);
}

void read_paint(const Paint& p, Node& n) {
  if (p.var >= 0) n.reads.push_back(p.var);
}

void read_parts(const std::vector<TextPart>& parts, Node& n) {
  for (const TextPart& t : parts)
    if (t.var >= 0) n.reads.push_back(t.var);
}

}  // namespace

void ElementCompiler::leaf(Node& n) {
  n.slot = leaves_++;
  // A site marker is always drawn; its switch only highlights it.
  if (n.kind == Kind::SiteMarker) read_cond(n.visible, n);
  read_paint(n.fill, n);
  read_paint(n.stroke, n);
  read_paint(n.colour, n);
  if (n.hatch.set) read_paint(n.hatch.colour, n);
  read_parts(n.text, n);
  read_parts(n.note, n);
  for (const Bar& b : n.bars) {
    read_paint(b.colour, n);
    read_parts({b.value}, n);
  }
  for (const Stop& s : n.stops) read_parts({s.label}, n);
  for (const TableRow& row : n.rows) {
    if (row.has_highlight) read_cond(row.highlight, n);
    for (const auto& cell : row.cells) read_parts(cell, n);
  }
  std::sort(n.reads.begin(), n.reads.end());
  n.reads.erase(std::unique(n.reads.begin(), n.reads.end()), n.reads.end());
  compile_ink(n, measure_.fonts());
}

}  // namespace kvr::render
