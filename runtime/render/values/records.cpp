#include "values/records.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "model/colour_maps.h"

namespace kvr::render {

const unsigned char* record(const FrameView& view, int var) {
  if (var < 0 || view.records == nullptr) return nullptr;
  auto index = static_cast<std::size_t>(var);
  if (index >= view.records->size()) return nullptr;
  return static_cast<const unsigned char*>((*view.records)[index]);
}

RecordKind kind_of(const FrameView& view, int var) {
  return view.scene->variables[static_cast<std::size_t>(var)].kind;
}

double number_value(const FrameView& view, int var) {
  const unsigned char* bytes = record(view, var);
  if (bytes == nullptr) return 0.0;
  switch (kind_of(view, var)) {
    case RecordKind::Switch: {
      float value = 0.0f;
      std::memcpy(&value, bytes, sizeof value);
      return static_cast<double>(value);
    }
    case RecordKind::Int32:
    case RecordKind::Area8: {
      std::int32_t value = 0;
      std::memcpy(&value, bytes, sizeof value);
      return value;
    }
    default:
      return 0.0;
  }
}

namespace {

void append_latin1(const unsigned char* bytes, std::string& out) {
  std::size_t n = std::min<std::size_t>(bytes[0], 78);
  for (std::size_t i = 1; i <= n; ++i) {
    unsigned char c = bytes[i];
    if (c < 0x80) {
      out.push_back(static_cast<char>(c));
    } else {
      out.push_back(static_cast<char>(0xC0 | (c >> 6)));
      out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
  }
}

}  // namespace

void append_text(const FrameView& view, int var, std::string& out) {
  const unsigned char* bytes = record(view, var);
  if (bytes == nullptr || kind_of(view, var) != RecordKind::Text) return;
  append_latin1(bytes, out);
}

const unsigned char* pinned_record(const FrameView& view, int var) {
  if (var < 0 || view.reference == nullptr) return nullptr;
  return view.reference->copy(var);
}

bool reference_pinned(const FrameView& view) {
  return view.reference != nullptr && view.reference->pinned();
}

void append_pinned_text(const FrameView& view, int var, std::string& out) {
  const unsigned char* bytes = pinned_record(view, var);
  if (bytes == nullptr || kind_of(view, var) != RecordKind::Text) return;
  append_latin1(bytes, out);
}

std::string part_text(const FrameView& view, const TextPart& part) {
  std::string out;
  if (part.var < 0) {
    out = part.literal;
  } else if (part.pinned) {
    append_pinned_text(view, part.var, out);
  } else {
    append_text(view, part.var, out);
  }
  return out;
}

std::string compose(const FrameView& view, const std::vector<TextPart>& parts) {
  std::string out;
  compose_into(view, parts, out);
  return out;
}

void compose_into(const FrameView& view, const std::vector<TextPart>& parts, std::string& out) {
  out.clear();
  for (const TextPart& part : parts) {
    if (part.var < 0)
      out += part.literal;
    else if (part.pinned)
      append_pinned_text(view, part.var, out);
    else
      append_text(view, part.var, out);
  }
}

std::string_view trimmed(std::string_view s) {
  while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
  while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
  return s;
}

double parse_number(const std::string& s) {
  std::string_view t = trimmed(s);
  if (t.empty()) return 0.0;
  std::string copy(t);
  char* end = nullptr;
  double v = std::strtod(copy.c_str(), &end);
  return (end == copy.c_str() || !std::isfinite(v)) ? 0.0 : v;
}

bool colour_value(const FrameView& view, int var, Rgba& out) {
  const unsigned char* bytes = record(view, var);
  if (bytes == nullptr || kind_of(view, var) != RecordKind::Colour) return false;
  std::int16_t rgb[3];
  std::memcpy(rgb, bytes, sizeof rgb);
  auto channel = [](std::int16_t v) {
    return std::clamp(static_cast<double>(v), 0.0, 255.0) / 255.0;
  };
  out = {channel(rgb[0]), channel(rgb[1]), channel(rgb[2]), 1.0};
  return true;
}

bool cividis_palette(const FrameView& view) {
  return view.house_views != nullptr && view.house_views->palette == Palette::Cividis;
}

Rgba resolve(const FrameView& view, const Paint& p) {
  Rgba c = p.rgba;
  bool read = p.var >= 0 && colour_value(view, p.var, c);
  if (p.var >= 0 && !read) c = {0.5, 0.5, 0.5, 1.0};
  if (cividis_palette(view)) {
    if (p.has_cividis) {
      c = p.cividis;
    } else if (p.ramp && read && view.scene != nullptr) {
      const auto& ramp = view.scene->ramp_colours;
      double a = c.a;
      c = cividis(ramp_position(ramp.data(), ramp.size(), c));
      c.a = a;
    }
  }
  c.r *= p.shade;
  c.g *= p.shade;
  c.b *= p.shade;
  c.a *= p.alpha;
  return c;
}

bool holds(const Cond& cond, const FrameView& view) {
  switch (cond.op) {
    case Cond::Op::True:
      return true;
    case Cond::Op::On: {
      if (cond.var < 0) return false;
      if (kind_of(view, cond.var) == RecordKind::Text) {
        std::string text;
        append_text(view, cond.var, text);
        return !trimmed(text).empty();
      }
      return number_value(view, cond.var) != 0.0;
    }
    case Cond::Op::AtLeast:
      return cond.var >= 0 && number_value(view, cond.var) >= cond.number;
    case Cond::Op::Equals: {
      if (cond.var < 0) return false;
      if (cond.text_compare) {
        std::string text;
        append_text(view, cond.var, text);
        return trimmed(text) == cond.text;
      }
      return number_value(view, cond.var) == cond.number;
    }
    case Cond::Op::Flag:
      return view.state != nullptr && view.state->flag(cond.flag);
    case Cond::Op::Pinned:
      return reference_pinned(view) == (cond.number != 0.0);
    case Cond::Op::HouseView: {
      double shown =
          view.house_views != nullptr ? static_cast<double>(view.house_views->shown) : 0.0;
      return shown == cond.number;
    }
    case Cond::Op::Palette:
      return cividis_palette(view) == (cond.number != 0.0);
    case Cond::Op::Not:
      return !cond.subs.empty() && !holds(cond.subs[0], view);
    case Cond::Op::All:
      return std::all_of(cond.subs.begin(), cond.subs.end(),
                         [&](const Cond& c) { return holds(c, view); });
    case Cond::Op::Any:
      return std::any_of(cond.subs.begin(), cond.subs.end(),
                         [&](const Cond& c) { return holds(c, view); });
  }
  return false;
}

GroupMotion group_motion(const Node& n, const FrameView& view, double now) {
  GroupMotion m;
  if (view.state == nullptr) return m;
  if (n.fade_anim >= 0) m.alpha = view.state->progress(*view.scene, n.fade_anim, now);
  if (n.slide_anim >= 0) {
    double rest = 1.0 - view.state->progress(*view.scene, n.slide_anim, now);
    double ease = rest * rest * rest;  // eases out: fast start, soft landing
    if (ease > 0.0) {
      m.dx = n.slide_from.x * ease;
      m.dy = n.slide_from.y * ease;
    }
  }
  return m;
}

bool moving(const FrameView& view, const std::vector<int>& anims, double now) {
  if (view.state == nullptr) return false;
  for (int a : anims)
    if (view.state->progress(*view.scene, a, now) < 1.0) return true;
  return false;
}

}  // namespace kvr::render
