#include "layout/frame_tracker.h"

#include <algorithm>
#include <cstring>

#include "layout/ink_bounds.h"
#include "layout/table_layout.h"
#include "model/table_grid.h"
#include "text/text.h"
#include "values/button_state.h"
#include "values/frame_values.h"
#include "values/records.h"
#include "values/table_state.h"

namespace kvr::render {

namespace {

long long area(const DeviceRect& r) {
  return r.empty() ? 0 : static_cast<long long>(r.width) * r.height;
}

// The pixels that the smallest rectangle holding both covers and neither
// of them does.
long long waste(const DeviceRect& a, const DeviceRect& b) {
  return area(unite(a, b)) - area(a) - area(b) + area(intersect(a, b));
}

// Two damaged rectangles are drawn as one when that adds this many pixels
// at most: every element a rectangle meets is drawn again, so one
// rectangle around two far apart (a table and a chart beside it) would draw
// much that did not change.
constexpr long long kWaste = 2048;

}  // namespace

void merge_rects(std::vector<DeviceRect>& rects, std::size_t limit) {
  while (rects.size() > 1) {
    std::size_t keep = 0, drop = 0;
    long long least = -1;
    for (std::size_t i = 0; i < rects.size(); ++i) {
      for (std::size_t j = i + 1; j < rects.size(); ++j) {
        long long w = waste(rects[i], rects[j]);
        if (least < 0 || w < least) {
          least = w;
          keep = i;
          drop = j;
        }
      }
    }
    if (least > kWaste && rects.size() <= limit) return;
    rects[keep] = unite(rects[keep], rects[drop]);
    rects.erase(rects.begin() + static_cast<std::ptrdiff_t>(drop));
  }
}

FrameTracker::FrameTracker(int slots)
    : slots_(static_cast<std::size_t>(std::max(slots, 0))),
      rects_(static_cast<std::size_t>(std::max(slots, 0))) {}

const std::vector<DeviceRect>& FrameTracker::track(const std::vector<Node>& nodes,
                                                   const DrawContext& dc,
                                                   const LayoutTransform& to_device) {
  damage_.clear();
  ++generation_;
  dc_ = &dc;
  to_device_ = &to_device;
  // A frame that draws everything needs no damaged rectangles worked out.
  whole_ = !known_ || width_ != to_device.width || height_ != to_device.height;
  first_change_ = INT_MAX;
  Walk w;
  w.clip = {0, 0, to_device.width, to_device.height};
  for (const Node& n : nodes) walk(n, w);
  for (std::size_t i = 0; i < slots_.size(); ++i) {
    Slot& s = slots_[i];
    if (s.generation == generation_ || !s.shown) continue;
    first_change_ = std::min(first_change_, static_cast<int>(i));
    damage(rects_[i]);
    s.shown = false;
    s.ink_known = false;
    s.key.clear();
    rects_[i] = {};
  }
  if (whole_) {
    damage_.assign(1, w.clip);
    known_ = true;
    width_ = to_device.width;
    height_ = to_device.height;
  } else {
    merge_rects(damage_, kMaxRects);
    keep_texts_whole();
  }
  dc_ = nullptr;
  to_device_ = nullptr;
  return damage_;
}

void FrameTracker::walk(const Node& n, const Walk& w) {
  const FrameView& view = dc_->view;
  if (n.kind != Kind::SiteMarker && n.has_visible && !holds(n.visible, view)) return;
  if (n.grid_view >= 0 && dc_->placements != nullptr) {
    // A result view where the grid put it: its buttons light there.
    const Placement& at = dc_->placements[n.grid_view];
    Walk placed = w;
    placed.dx = w.dx + w.scale * at.dx;
    placed.dy = w.dy + w.scale * at.dy;
    placed.scale = w.scale * at.scale;
    DrawContext inner = *dc_;
    inner.at = &at;
    const DrawContext* outer = dc_;
    dc_ = &inner;
    held(n, placed);
    dc_ = outer;
    return;
  }
  held(n, w);
}

void FrameTracker::held(const Node& n, const Walk& w) {
  const FrameView& view = dc_->view;
  if (n.kind != Kind::Group) {
    leaf(n, w);
    return;
  }
  Walk inner = w;
  if (n.layer.set && !moving(view, n.layer.anims, dc_->now)) {
    Box region{n.layer.x1, n.layer.y1, n.layer.x2, n.layer.y2};
    inner.clip = intersect(w.clip, to_device_->pixels(w.map(region)));
  } else {
    GroupMotion motion = group_motion(n, view, dc_->now);
    if (motion.alpha <= 0.0) return;
    inner.alpha *= motion.alpha;
    inner.dx += w.scale * motion.dx;
    inner.dy += w.scale * motion.dy;
  }
  for (const Node& child : n.children) walk(child, inner);
}

// What is shown of a record: a text's N characters, not the bytes behind
// them.
void FrameTracker::put_record(const unsigned char* bytes, int var) {
  if (bytes == nullptr) {
    key_.push_back(0xFF);
    return;
  }
  RecordKind kind = kind_of(dc_->view, var);
  if (kind == RecordKind::Text) {
    std::size_t n_chars = std::min<std::size_t>(bytes[0], 78);
    key_.push_back(static_cast<unsigned char>(n_chars));
    put(bytes + 1, n_chars);
  } else {
    put(bytes, record_size(kind));
  }
}

void FrameTracker::put_house(const FrameView& view) {
  unsigned char shown =
      view.house_views != nullptr ? static_cast<unsigned char>(view.house_views->shown) : 0;
  int humidity = view.house_views != nullptr ? view.house_views->humidity : 0;
  key_.push_back(shown);
  put(&humidity, sizeof humidity);
  const KvrHouseState* live = view.house != nullptr ? view.house->state : nullptr;
  const KvrHouseState* pinned = view.reference != nullptr ? view.reference->house() : nullptr;
  for (const KvrHouseState* state : {live, pinned}) {
    key_.push_back(state != nullptr ? 1 : 0);
    if (state != nullptr) put(state, sizeof *state);
  }
}

void FrameTracker::leaf(const Node& n, const Walk& w) {
  if (n.slot < 0 || static_cast<std::size_t>(n.slot) >= slots_.size()) return;
  const FrameView& view = dc_->view;
  key_.clear();
  put_motion(w);
  if (n.kind == Kind::Button) {
    ButtonLook look = button_look(*dc_, n);
    unsigned char state = static_cast<unsigned char>((look.hover ? 1 : 0) | (look.pressed ? 2 : 0) |
                                                     (wears_focus_ring(*dc_, n) ? 4 : 0));
    put(&state, 1);
  }
  if (n.read_flags != 0) {
    std::uint64_t flags = view.state != nullptr ? view.state->flags & n.read_flags : 0;
    put(&flags, sizeof flags);
  }
  for (int var : n.reads) put_record(record(view, var), var);
  if (n.reads_house) put_house(view);
  if (n.reads_reference) {
    unsigned char pinned = reference_pinned(view) ? 1 : 0;
    key_.push_back(pinned);
    for (int var : n.reads_pinned) put_record(pinned_record(view, var), var);
  }
  // A table draws its texts as parts of its own.
  bool text = n.kind != Kind::Rect && n.kind != Kind::Polygon && n.kind != Kind::Polyline &&
              n.kind != Kind::Circle && n.kind != Kind::Table;
  settle(static_cast<std::size_t>(n.slot), text, w,
         [&] { return ink_of(n, dc_->values->of(n, view), dc_->fonts); });
  if (n.kind == Kind::Table) table_parts(n, w);
}

void FrameTracker::table_parts(const Node& n, const Walk& w) {
  if (n.parts < 0 || static_cast<std::size_t>(n.parts) + table_texts(n) > slots_.size()) return;
  const FrameView& view = dc_->view;
  auto put_parts = [&](const std::vector<TextPart>& parts) {
    for (const TextPart& t : parts) {
      if (t.var < 0) continue;
      put_record(t.pinned ? pinned_record(view, t.var) : record(view, t.var), t.var);
    }
  };
  unsigned char pinned = reference_pinned(view) ? 1 : 0;
  unsigned char two_lines = table_second_lines(n, view) ? 1 : 0;
  unsigned char lit = 0;
  for (std::size_t part = 0; part < table_texts(n); ++part) {
    key_.clear();
    put_motion(w);
    key_.push_back(pinned);
    key_.push_back(two_lines);
    TablePartPlace at = place_of(n, part);
    if (at.what == TablePartPlace::What::Caption) lit = table_row_lit(n, at.row, view) ? 1 : 0;
    if (at.what != TablePartPlace::What::Header) key_.push_back(lit);
    if (at.what == TablePartPlace::What::Cell) {
      const TableRow& row = n.rows[at.row];
      if (at.column < row.cells.size()) put_parts(row.cells[at.column]);
      if (at.column < row.second.size()) put_parts(row.second[at.column]);
    }
    settle(static_cast<std::size_t>(n.parts) + part, true, w, [&] {
      return table_part_ink(n, part, dc_->values->table_part(n, part, view), view, dc_->fonts);
    });
  }
}

// The element in `slot` drawn now as `key_` holds, covering `ink()`:
// damaged where it differs from the frame before.
template <class Ink>
void FrameTracker::settle(std::size_t slot, bool text, const Walk& w, Ink ink) {
  Slot& s = slots_[slot];
  // What an element covers follows from what it reads, which the key
  // holds: a text of bound records is laid out again only when it changed.
  bool same = s.shown && s.key == key_;
  if (!same || !s.ink_known) {
    s.ink = ink();
    s.ink_known = true;
  }
  DeviceRect r = intersect(to_device_->pixels(w.map(s.ink)), w.clip);
  DeviceRect& before = rects_[slot];
  if (!same || !(before == r)) {
    first_change_ = std::min(first_change_, static_cast<int>(slot));
    if (s.shown) damage(before);
    damage(r);
    s.key.swap(key_);
    before = r;
  }
  s.shown = true;
  s.text = text;
  s.generation = generation_;
}

// Cairo 1.16 draws a line of text that a clip cuts through a mask sized
// from the glyphs' unhinted outlines, which can leave out the top row of a
// glyph hinted upwards: a frame drawn by its changes then differs from a
// whole one. A damaged rectangle therefore never cuts a drawn text: it
// grows to hold every text element whose glyphs it meets. They keep off
// the pixel of margin around the text's box (every element's pixels get
// one), so texts side by side, their margins touching, do not pull each
// other in.
void FrameTracker::keep_texts_whole() {
  for (int pass = 0; pass < 4; ++pass) {
    bool grown = false;
    for (std::size_t i = 0; i < slots_.size(); ++i) {
      if (!slots_[i].shown || !slots_[i].text) continue;
      const DeviceRect& r = rects_[i];
      DeviceRect glyphs{r.x + 1, r.y + 1, r.width - 2, r.height - 2};
      for (DeviceRect& d : damage_) {
        if (overlaps(d, glyphs) && !(unite(d, r) == d)) {
          d = unite(d, r);
          grown = true;
        }
      }
    }
    if (!grown) return;
    merge_rects(damage_, kMaxRects);
  }
}

void FrameTracker::damage(const DeviceRect& r) {
  if (r.empty() || whole_) return;
  for (DeviceRect& d : damage_) {
    if (waste(d, r) <= kWaste) {
      d = unite(d, r);
      return;
    }
  }
  damage_.push_back(r);
  if (damage_.size() > 2 * kMaxRects) merge_rects(damage_, kMaxRects);
}

}  // namespace kvr::render
