// Reading the bound program records and the scene state while drawing:
// numbers, texts (Latin-1 bytes shown as UTF-8), colours, the conditions
// elements are shown on and where a group's animations are.
#ifndef KVR_RENDER_RECORDS_H
#define KVR_RENDER_RECORDS_H

#include <string>
#include <string_view>
#include <vector>

#include "backend.h"
#include "model/element_model.h"

namespace kvr::render {

// The bytes bound to variable `var`, or nullptr while unbound.
const unsigned char* record(const FrameView& view, int var);
RecordKind kind_of(const FrameView& view, int var);

// The value of a switch (first float) or an integer record; 0 when unbound.
double number_value(const FrameView& view, int var);

// Appends a bound text as UTF-8: its N characters (at most 78), each byte
// one Latin-1 character.
void append_text(const FrameView& view, int var, std::string& out);

// The reference's pinned copy of variable `var`, or nullptr while nothing
// is pinned (or `var` is not pinned at all); whether anything is pinned.
const unsigned char* pinned_record(const FrameView& view, int var);
bool reference_pinned(const FrameView& view);
// Appends the pinned copy of a bound text, as append_text does the record.
void append_pinned_text(const FrameView& view, int var, std::string& out);
// One part as drawn: its literal, its bound text or its pinned copy.
std::string part_text(const FrameView& view, const TextPart& part);

// The literal and bound parts of a text, joined.
std::string compose(const FrameView& view, const std::vector<TextPart>& parts);
// The same into `out`, which is emptied first.
void compose_into(const FrameView& view, const std::vector<TextPart>& parts, std::string& out);

std::string_view trimmed(std::string_view s);

// The number a text holds (blanks around it allowed); 0 when it holds none.
double parse_number(const std::string& s);

// A bound colour record; false when unbound or not a colour.
bool colour_value(const FrameView& view, int var, Rgba& out);

// Whether the runtime shows the palette for every eye.
bool cividis_palette(const FrameView& view);

// A paint as drawn: a bound colour read (grey while unbound), in the
// palette for every eye its twin or its place on cividis, then shaded and
// made transparent.
Rgba resolve(const FrameView& view, const Paint& p);
inline Rgba colour_or(const FrameView& view, const Paint& p, const Rgba& fallback) {
  return p.set ? resolve(view, p) : fallback;
}

bool holds(const Cond& cond, const FrameView& view);

// Where a group's slide and fade are at `now`: its children drawn moved by
// (dx, dy) and with this opacity.
struct GroupMotion {
  double alpha = 1.0;
  double dx = 0.0, dy = 0.0;
};
GroupMotion group_motion(const Node& n, const FrameView& view, double now);

// True while one of the animations runs.
bool moving(const FrameView& view, const std::vector<int>& anims, double now);

}  // namespace kvr::render

#endif
