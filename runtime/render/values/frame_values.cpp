#include "values/frame_values.h"

#include "model/table_grid.h"
#include "values/class_bands.h"
#include "values/comparison.h"
#include "values/house_texts.h"
#include "values/records.h"

namespace kvr::render {

namespace {

// Sets the next line, keeping the string's room.
std::string& next_line(ElementValues& v) {
  if (v.count == v.lines.size()) v.lines.emplace_back();
  std::string& line = v.lines[v.count++];
  line.clear();
  return line;
}

void add_trimmed(ElementValues& v, std::string_view text) {
  next_line(v).assign(trimmed(text));
}

// Composes `parts` into the next line, trimmed there: no string besides it.
std::string& add_composed(ElementValues& v, const FrameView& view,
                          const std::vector<TextPart>& parts) {
  std::string& line = next_line(v);
  compose_into(view, parts, line);
  std::string_view kept = trimmed(line);
  std::size_t from = static_cast<std::size_t>(kept.data() - line.data());
  line.erase(from + kept.size());
  line.erase(0, from);
  return line;
}

void read(const Node& n, const FrameView& view, ElementValues& v, house::AdviceCache& advice) {
  switch (n.kind) {
    case Kind::Text:
    case Kind::Button:
    case Kind::SiteMarker:
      compose_into(view, n.text, next_line(v));
      return;
    case Kind::Comparison: {
      ComparisonLine line = comparison_line(view, n);
      next_line(v) = line.text;
      v.verdict = line.verdict;
      return;
    }
    case Kind::ClassDistance:
      for (std::string& line : class_distance_lines(view, n)) next_line(v) = std::move(line);
      return;
    case Kind::GradientLegend:
      for (const Stop& s : n.stops) add_trimmed(v, part_text(view, s.label));
      return;
    case Kind::BarChart:
      for (const Bar& b : n.bars) add_trimmed(v, part_text(view, b.value));
      for (const Bar& b : n.bars) add_trimmed(v, part_text(view, b.reference));
      return;
    case Kind::ClassScale: {
      add_composed(v, view, n.text);
      add_trimmed(v, n.has_reference && reference_pinned(view) ? part_text(view, n.reference)
                                                               : std::string());
      // The note is left out until its bound texts hold something.
      bool filled = true;
      for (const TextPart& p : n.note)
        filled = filled && (p.var < 0 || !trimmed(part_text(view, p)).empty());
      std::string& note = add_composed(v, view, n.note);
      if (!filled) note.clear();
      return;
    }
    case Kind::HouseView:
      house_texts(n, view, advice, v.lines, v.count);
      return;
    case Kind::SurfaceMarks:
      surface_risks(n, view, next_line(v));
      return;
    default:
      return;
  }
}

}  // namespace

ElementValues& FrameValues::entry(int slot, bool& current) {
  if (slot < 0) {
    current = false;
    return scratch_;
  }
  auto index = static_cast<std::size_t>(slot);
  if (index >= entries_.size()) entries_.resize(index + 1);
  Entry& e = entries_[index];
  current = e.frame == frame_;
  e.frame = frame_;
  return e.values;
}

const ElementValues& FrameValues::of(const Node& n, const FrameView& view) {
  bool current = false;
  ElementValues& v = entry(n.slot, current);
  if (current) return v;
  v.count = 0;
  v.verdict = 0;
  read(n, view, v, advice_);
  return v;
}

const ElementValues& FrameValues::table_part(const Node& n, std::size_t part,
                                             const FrameView& view) {
  bool current = false;
  ElementValues& v = entry(n.parts < 0 ? -1 : n.parts + static_cast<int>(part), current);
  if (current) return v;
  v.count = 0;
  v.verdict = 0;
  TablePartPlace at = place_of(n, part);
  if (at.what != TablePartPlace::What::Cell || at.row >= n.rows.size()) return v;
  const TableRow& row = n.rows[at.row];
  static const std::vector<TextPart> none;
  add_composed(v, view, at.column < row.cells.size() ? row.cells[at.column] : none);
  add_composed(v, view, at.column < row.second.size() ? row.second[at.column] : none);
  return v;
}

}  // namespace kvr::render
