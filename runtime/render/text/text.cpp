#include "text/text.h"

#include <cstring>

#include "model/palette.h"

namespace kvr::render {

Fonts::Fonts() {
  regular_ = open_font_face(false);
  bold_ = open_font_face(true);
  options_ = cairo_font_options_create();
  cairo_font_options_set_hint_metrics(options_, CAIRO_HINT_METRICS_OFF);
  cairo_font_options_set_hint_style(options_, CAIRO_HINT_STYLE_SLIGHT);
  cairo_font_options_set_antialias(options_, CAIRO_ANTIALIAS_GRAY);
}

Fonts::~Fonts() {
  for (auto& [key, font] : scaled_) cairo_scaled_font_destroy(font);
  cairo_font_face_destroy(regular_);
  cairo_font_face_destroy(bold_);
  cairo_font_options_destroy(options_);
}

cairo_scaled_font_t* Fonts::scaled(double size, bool bold) const {
  for (auto& [key, font] : scaled_)
    if (key.first == size && key.second == bold) return font;
  cairo_matrix_t font_matrix, ctm;
  cairo_matrix_init_scale(&font_matrix, size, size);
  cairo_matrix_init_identity(&ctm);
  cairo_scaled_font_t* font = cairo_scaled_font_create(face(bold), &font_matrix, &ctm, options_);
  scaled_.push_back({{size, bold}, font});
  return font;
}

const TextLayout& Fonts::layout(const std::string& text, double size, bool bold) const {
  key_.clear();
  key_.push_back(bold ? 'b' : 'r');
  key_.append(reinterpret_cast<const char*>(&size), sizeof size);
  key_.append(text);
  auto found = layouts_.find(key_);
  if (found != layouts_.end()) return found->second;
  return layouts_.emplace(key_, lay_out(text, size, bold)).first->second;
}

void Fonts::trim() const {
  if (layouts_.size() >= kLayoutLimit) layouts_.clear();
}

TextLayout Fonts::lay_out(const std::string& text, double size, bool bold) const {
  TextLayout laid;
  cairo_scaled_font_t* font = scaled(size, bold);
  cairo_glyph_t* glyphs = nullptr;
  int count = 0;
  if (cairo_scaled_font_text_to_glyphs(font, 0.0, 0.0, text.data(), static_cast<int>(text.size()),
                                       &glyphs, &count, nullptr, nullptr,
                                       nullptr) == CAIRO_STATUS_SUCCESS &&
      count > 0) {
    laid.glyphs.assign(glyphs, glyphs + count);
    cairo_text_extents_t ext;
    cairo_scaled_font_glyph_extents(font, glyphs, count, &ext);
    laid.advance = ext.x_advance;
  }
  cairo_glyph_free(glyphs);
  return laid;
}

double text_width(const Fonts& fonts, const std::string& s, double size, bool bold) {
  return fonts.layout(s, size, bold).advance;
}

namespace {

// The width and size a line is drawn at, and where it starts.
struct Placed {
  double x, width, size;
};

Placed place(double advance, double x, double size, Align align, double max_width) {
  double w = advance;
  if (max_width > 0.0 && w > max_width) {
    size *= max_width / w;
    w = max_width;
  }
  if (align == Align::Center) x -= w / 2.0;
  if (align == Align::Right) x -= w;
  return {x, w, size};
}

}  // namespace

Box text_box(const Fonts& fonts, const std::string& s, double x, double y, double size, bool bold,
             Align align, double max_width) {
  if (s.empty()) return {};
  Placed p = place(fonts.layout(s, size, bold).advance, x, size, align, max_width);
  // DejaVu Sans reaches 0.93 of the size above the baseline (1.2 with an
  // accent on a capital) and 0.24 below; a few glyphs start before their
  // origin or end after their advance.
  return {p.x - 0.25 * size, y - 0.4 * size, p.x + p.width + 0.25 * size, y + 1.25 * size};
}

void draw_text(cairo_t* cr, const Fonts& fonts, const std::string& s, double x, double y,
               double size, bool bold, Align align, const Rgba& colour, double max_width) {
  if (s.empty()) return;
  const TextLayout& laid = fonts.layout(s, size, bold);
  if (laid.glyphs.empty()) return;
  Placed p = place(laid.advance, x, size, align, max_width);
  set_rgba(cr, colour);
  cairo_save(cr);
  cairo_translate(cr, p.x, y);
  cairo_scale(cr, 1.0, -1.0);
  cairo_set_font_face(cr, fonts.face(bold));
  cairo_set_font_size(cr, p.size);
  // The line starts at the current point, which Cairo keeps in 1/256 of a
  // device pixel: the glyphs land on the same pixels as cairo_show_text's.
  cairo_move_to(cr, 0.0, 0.0);
  double ox = 0.0, oy = 0.0;
  cairo_get_current_point(cr, &ox, &oy);
  cairo_new_path(cr);
  // Unhinted advances grow with the size: a line drawn smaller keeps its
  // layout, scaled.
  double shrink = p.size / size;
  static std::vector<cairo_glyph_t> glyphs;  // kept: no allocation once grown
  glyphs = laid.glyphs;
  for (cairo_glyph_t& g : glyphs) {
    g.x = ox + g.x * shrink;
    g.y = oy + g.y * shrink;
  }
  cairo_show_glyphs(cr, glyphs.data(), static_cast<int>(glyphs.size()));
  cairo_restore(cr);
}

WrappedText wrap_paragraph(const std::string& text, double x1, double y1, double x2, double y2,
                           double size, double leading, double gap, TextMeasure& measure) {
  WrappedText out;
  double width = x2 - x1;
  double y = y2 - size;
  std::size_t start = 0;
  while (start <= text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::string para = text.substr(start, end - start);
    start = end + 1;
    bool heading = para.rfind("# ", 0) == 0;
    bool bullet = para.rfind("- ", 0) == 0;
    if (heading || bullet) para = para.substr(2);
    double psize = heading ? size * 1.25 : size;
    double indent = bullet ? size * 1.1 : 0.0;
    if (bullet) out.lines.push_back({"•", y, x1 + size * 0.2, psize, false});
    std::string line;
    std::size_t pos = 0;
    auto flush = [&]() {
      out.lines.push_back({line, y, x1 + indent, psize, heading});
      y -= psize * leading;
      line.clear();
    };
    while (pos < para.size()) {
      std::size_t space = para.find(' ', pos);
      if (space == std::string::npos) space = para.size();
      std::string word = para.substr(pos, space - pos);
      pos = space + 1;
      std::string candidate = line.empty() ? word : line + " " + word;
      if (!line.empty() && measure.advance(candidate, psize, heading) > width - indent) {
        flush();
        line = word;
      } else {
        line = candidate;
      }
    }
    if (!line.empty() || para.empty()) flush();
    y -= size * gap;
    if (end == text.size()) break;
  }
  out.overflows = y + size * gap < y1;
  return out;
}

}  // namespace kvr::render
