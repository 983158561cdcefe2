#include "layout/view_grid.h"

#include <algorithm>
#include <array>

#include "values/records.h"

namespace kvr::render {

namespace {

constexpr double kEpsilon = 1e-9;

// The stretches of x from x1 to x2 that no kept box (grown by the gap)
// meets between y1 and y2, left to right.
struct Segments {
  std::array<std::pair<double, double>, kMaxGridKeep + 1> span;
  std::size_t count = 0;
};

struct Kept {
  std::array<Box, kMaxGridKeep> box;
  std::size_t count = 0;
  double gap = 0.0;
};

Segments free_segments(const Kept& kept, double x1, double x2, double y1, double y2) {
  Segments s;
  s.span[0] = {x1, x2};
  s.count = 1;
  double g = kept.gap;
  for (std::size_t k = 0; k < kept.count; ++k) {
    const Box& b = kept.box[k];
    if (b.y2 + g <= y1 || b.y1 - g >= y2) continue;
    double k1 = b.x1 - g, k2 = b.x2 + g;
    Segments cut;
    for (std::size_t i = 0; i < s.count; ++i) {
      auto [a, z] = s.span[i];
      if (k2 <= a || k1 >= z) {
        cut.span[cut.count++] = {a, z};
        continue;
      }
      if (k1 > a) cut.span[cut.count++] = {a, k1};
      if (k2 < z) cut.span[cut.count++] = {k2, z};
    }
    s = cut;
  }
  return s;
}

// A box in a frame where rows run along `along`: the plain layout, or the
// layout turned so that rows are columns from the left, views from the top.
struct Frame {
  bool columns = false;
  // From layout units to the frame's (x right, y up, rows from the top).
  Box in(const Box& b) const { return columns ? Box{-b.y2, -b.x2, -b.y1, -b.x1} : b; }
  Box out(const Box& b) const { return columns ? Box{-b.y2, -b.x2, -b.y1, -b.x1} : b; }
};

struct Pack {
  Kept kept;  // in the frame
  Box room;
  Frame frame;
  std::array<Box, kMaxGridViews> sizes;  // each visible view's box, in the frame
  std::size_t count = 0;
};

// Lays widths[from..to] left to right into the segments, `gap` apart; the
// left edge of each in xs. False when they do not all fit.
bool fit(const Segments& s, const Pack& p, double scale, std::size_t from, std::size_t to,
         std::array<double, kMaxGridViews>& xs) {
  if (s.count == 0) return false;
  std::size_t seg = 0;
  double x = s.span[0].first;
  for (std::size_t i = from; i <= to; ++i) {
    double w = (p.sizes[i].x2 - p.sizes[i].x1) * scale;
    while (x + w > s.span[seg].second + kEpsilon) {
      if (++seg == s.count) return false;
      x = s.span[seg].first;
    }
    xs[i] = x;
    x += w + p.kept.gap;
  }
  return true;
}

// Rows from the top of the room, each holding as many views as fit beside
// each other. False when they do not all fit at `scale`.
bool pack_rows(const Pack& p, double scale, std::array<Box, kMaxGridViews>& placed) {
  std::array<double, kMaxGridViews> xs{}, best{};
  double top = p.room.y2;
  std::size_t i = 0;
  while (i < p.count) {
    std::size_t in_row = 0;
    double row = 0.0;
    for (std::size_t k = i; k < p.count; ++k) {
      double h = std::max(row, (p.sizes[k].y2 - p.sizes[k].y1) * scale);
      if (top - h < p.room.y1 - kEpsilon) break;
      Segments s = free_segments(p.kept, p.room.x1, p.room.x2, top - h, top);
      if (!fit(s, p, scale, i, k, xs)) break;
      row = h;
      in_row = k - i + 1;
      std::copy(xs.begin() + static_cast<std::ptrdiff_t>(i),
                xs.begin() + static_cast<std::ptrdiff_t>(k + 1),
                best.begin() + static_cast<std::ptrdiff_t>(i));
    }
    if (in_row == 0) {
      // Nothing fits beside what is kept clear here: the row starts below
      // the highest kept box that ends lower down.
      double below = p.room.y1 - 1.0;
      for (std::size_t k = 0; k < p.kept.count; ++k) {
        double end = p.kept.box[k].y1 - p.kept.gap;
        if (end < top - kEpsilon && end > below) below = end;
      }
      if (below <= p.room.y1) return false;
      top = below;
      continue;
    }
    for (std::size_t k = i; k < i + in_row; ++k) {
      double w = (p.sizes[k].x2 - p.sizes[k].x1) * scale;
      double h = (p.sizes[k].y2 - p.sizes[k].y1) * scale;
      placed[k] = {best[k], top - h, best[k] + w, top};
    }
    top -= row + p.kept.gap;
    i += in_row;
  }
  return true;
}

}  // namespace

Box grid_room(const GridSpec& spec, const LayoutTransform& t, double layout_width,
              double layout_height) {
  Box room = spec.area;
  if (t.scale <= 0.0) return room;
  double margin_x = std::max(0.0, (t.width / t.scale - layout_width) / 2.0);
  double margin_y = std::max(0.0, (t.height / t.scale - layout_height) / 2.0);
  if (spec.grow_left) room.x1 -= margin_x;
  if (spec.grow_right) room.x2 += margin_x;
  if (spec.grow_bottom) room.y1 -= margin_y;
  if (spec.grow_top) room.y2 += margin_y;
  return room;
}

double lay_out_views(const GridSpec& spec, std::uint32_t visible, const Box& room, Placement* out) {
  std::array<std::size_t, kMaxGridViews> index{};
  std::size_t count = 0;
  for (std::size_t i = 0; i < spec.views.size() && i < kMaxGridViews; ++i)
    if ((visible >> i) & 1U) index[count++] = i;
  if (count == 0 || room.empty()) return 0.0;
  std::array<Pack, 2> packs;
  for (std::size_t f = 0; f < packs.size(); ++f) {
    Pack& p = packs[f];
    p.frame.columns = f == 1;
    p.kept.gap = spec.gap;
    for (std::size_t k = 0; k < spec.keep.size() && k < kMaxGridKeep; ++k)
      p.kept.box[p.kept.count++] = p.frame.in(spec.keep[k]);
    p.room = p.frame.in(room);
    p.count = count;
    for (std::size_t i = 0; i < count; ++i) p.sizes[i] = p.frame.in(spec.views[index[i]]);
  }
  std::array<Box, kMaxGridViews> placed{};
  // The largest scale that fits, in hundredths; rows are tried first.
  for (int hundredths = 100; hundredths >= 5; --hundredths) {
    double scale = hundredths / 100.0;
    for (const Pack& p : packs) {
      if (!pack_rows(p, scale, placed)) continue;
      for (std::size_t i = 0; i < count; ++i) {
        const Box& natural = spec.views[index[i]];
        Box at = p.frame.out(placed[i]);
        out[index[i]] = {scale, at.x1 - scale * natural.x1, at.y1 - scale * natural.y1};
      }
      return scale;
    }
  }
  // Nothing fits even that small: each view where the scene drew it.
  for (std::size_t i = 0; i < count; ++i) out[index[i]] = Placement{};
  return 1.0;
}

void ViewGrid::bind(GridSpec spec, const std::vector<std::string>& names, std::vector<Node>& nodes,
                    const std::string& where, std::vector<std::string>& problems) {
  spec_ = std::move(spec);
  spec_.views.clear();
  shown_on_.clear();
  placements_.clear();
  mask_ = 0;
  width_ = height_ = -1;
  if (names.size() > kMaxGridViews) {
    problems.push_back(where + ": at most " + std::to_string(kMaxGridViews) + " views");
    return;
  }
  if (spec_.keep.size() > kMaxGridKeep) {
    problems.push_back(where + ": at most " + std::to_string(kMaxGridKeep) + " boxes kept clear");
    spec_.keep.resize(kMaxGridKeep);
  }
  struct Found {
    Node* node = nullptr;
    std::vector<const Cond*> conditions;
    bool in_layer = false;
  };
  std::vector<Found> found(names.size());
  // Walks the tree keeping the conditions and layers on the way down.
  std::vector<const Cond*> path;
  auto walk = [&](auto&& self, Node& n, bool in_layer) -> void {
    if (n.has_visible) path.push_back(&n.visible);
    in_layer = in_layer || n.layer.set;
    for (std::size_t i = 0; i < names.size(); ++i) {
      if (n.id != names[i]) continue;
      if (found[i].node != nullptr) {
        problems.push_back(where + ": more than one element is named \"" + names[i] + "\"");
        continue;
      }
      found[i] = {&n, path, in_layer};
    }
    for (Node& child : n.children) self(self, child, in_layer);
    if (n.has_visible) path.pop_back();
  };
  for (Node& n : nodes) walk(walk, n, false);
  // What a view covers: everything its elements draw but texts of bound
  // records, which lie on its card.
  auto cover = [](auto&& self, const Node& n, Box& box, bool& program_button) -> void {
    if (n.kind != Kind::Group && !n.ink_varies) box.add(n.ink);
    // A press handed to the program where the button is drawn would miss
    // its rectangle once the view moves.
    if (n.kind == Kind::Button &&
        (n.action.kind == ButtonAction::Kind::Program ||
         (n.action.kind == ButtonAction::Kind::PressAs && !n.action.at_point)))
      program_button = true;
    for (const Node& child : n.children) self(self, child, box, program_button);
  };
  for (std::size_t i = 0; i < names.size(); ++i) {
    const std::string view = where + ": view \"" + names[i] + "\"";
    Found& f = found[i];
    if (f.node == nullptr) {
      problems.push_back(view + " names no element");
      return;
    }
    Box box;
    bool program_button = false;
    cover(cover, *f.node, box, program_button);
    if (box.empty()) problems.push_back(view + " draws nothing");
    // The program's hit rectangles never move, so neither do its buttons.
    if (program_button)
      problems.push_back(view + " holds a button that presses the program where it is drawn");
    if (f.in_layer) problems.push_back(view + " lies in a group with a layer, which would cut it");
    spec_.views.push_back(box);
    shown_on_.push_back(f.conditions);
  }
  for (std::size_t i = 0; i < names.size(); ++i) found[i].node->grid_view = static_cast<int>(i);
  // A view inside another is placed with it only.
  for (std::size_t i = 0; i < names.size(); ++i) {
    auto inner = [&](auto&& self, const Node& n) -> void {
      for (const Node& child : n.children) {
        if (child.grid_view >= 0)
          problems.push_back(where + ": view \"" + child.id + "\" lies inside view \"" + names[i] +
                             "\"");
        self(self, child);
      }
    };
    inner(inner, *found[i].node);
  }
  placements_.assign(names.size(), Placement{});
}

std::uint32_t ViewGrid::visible(const FrameView& view) const {
  std::uint32_t mask = 0;
  for (std::size_t i = 0; i < shown_on_.size(); ++i) {
    bool shown = std::all_of(shown_on_[i].begin(), shown_on_[i].end(),
                             [&](const Cond* c) { return holds(*c, view); });
    if (shown) mask |= std::uint32_t{1} << i;
  }
  return mask;
}

const Placement* ViewGrid::update(const FrameView& view, const LayoutTransform& t,
                                  double layout_width, double layout_height) {
  if (placements_.empty()) return nullptr;
  std::uint32_t mask = visible(view);
  if (mask != mask_ || t.width != width_ || t.height != height_) {
    mask_ = mask;
    width_ = t.width;
    height_ = t.height;
    lay_out_views(spec_, mask, grid_room(spec_, t, layout_width, layout_height), &placements_[0]);
  }
  return &placements_[0];
}

}  // namespace kvr::render
