// What a drawn element reads: the records and flags its look depends on,
// besides its visibility, and the pinned copies of the reference it shows.
// A frame drawn by its changes compares them.
#include <algorithm>

#include "compile/compiler.h"
#include "layout/ink_bounds.h"
#include "model/table_grid.h"

namespace kvr::render {

namespace {

void read_cond(const Cond& c, Node& n) {
  if (c.var >= 0) n.reads.push_back(c.var);
  if (c.op == Cond::Op::Flag && c.flag >= 0) n.read_flags |= std::uint64_t{1} << c.flag;
  if (c.op == Cond::Op::Pinned) n.reads_reference = true;
  for (const Cond& sub : c.subs) read_cond(sub, n);
}

void read_paint(const Paint& p, Node& n) {
  if (p.var >= 0) n.reads.push_back(p.var);
}

void read_part(const TextPart& t, Node& n) {
  if (t.var < 0) return;
  if (t.pinned) {
    n.reads_pinned.push_back(t.var);
    n.reads_reference = true;
  } else {
    n.reads.push_back(t.var);
  }
}

void read_parts(const std::vector<TextPart>& parts, Node& n) {
  for (const TextPart& t : parts) read_part(t, n);
}

// A table's cells are tracked in their own slots: the table itself only
// needs to know whether it shows pinned values.
void note_pinned(const std::vector<TextPart>& parts, Node& n) {
  for (const TextPart& t : parts)
    if (t.var >= 0 && t.pinned) n.reads_reference = true;
}

void sort_unique(std::vector<int>& v) {
  std::sort(v.begin(), v.end());
  v.erase(std::unique(v.begin(), v.end()), v.end());
}

}  // namespace

void ElementCompiler::leaf(Node& n) {
  n.slot = leaves_++;
  if (n.kind == Kind::Table) {
    n.parts = leaves_;
    leaves_ += static_cast<int>(table_texts(n));
  }
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
    read_part(b.value, n);
    // Ghost bars are drawn only while a reference is pinned.
    if (b.has_reference) {
      read_part(b.reference, n);
      n.reads_reference = true;
    }
  }
  for (const Stop& s : n.stops) read_part(s.label, n);
  for (const TableRow& row : n.rows) {
    if (row.has_highlight) read_cond(row.highlight, n);
    for (const auto& cell : row.cells) note_pinned(cell, n);
    for (const auto& cell : row.second) note_pinned(cell, n);
  }
  if (n.has_second) read_cond(n.second_visible, n);
  // Comparisons, class scales and class distances.
  read_part(n.current, n);
  if (n.has_reference) read_part(n.reference, n);
  read_paint(n.better, n);
  read_paint(n.worse, n);
  // A comparison is drawn only while a reference is pinned; a class scale
  // with a reference value shows its tag only then.
  if (n.kind == Kind::Comparison || n.has_reference) n.reads_reference = true;
  if (n.kind == Kind::HouseView || n.kind == Kind::SurfaceMarks) n.reads_house = true;
  for (const SurfaceMark& m : n.marks)
    if (m.has_visible) read_cond(m.visible, n);
  sort_unique(n.reads);
  sort_unique(n.reads_pinned);
  compile_ink(n, measure_.fonts());
}

}  // namespace kvr::render
