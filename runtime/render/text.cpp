#include "text.h"

#include "palette.h"

namespace kvr::render {

Fonts::Fonts() {
  regular_ =
      cairo_toy_font_face_create(kFontFamily, CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_NORMAL);
  bold_ = cairo_toy_font_face_create(kFontFamily, CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_BOLD);
  options_ = cairo_font_options_create();
  cairo_font_options_set_hint_metrics(options_, CAIRO_HINT_METRICS_OFF);
  cairo_font_options_set_hint_style(options_, CAIRO_HINT_STYLE_SLIGHT);
  cairo_font_options_set_antialias(options_, CAIRO_ANTIALIAS_GRAY);
}

Fonts::~Fonts() {
  cairo_font_face_destroy(regular_);
  cairo_font_face_destroy(bold_);
  cairo_font_options_destroy(options_);
}

TextMeasure::TextMeasure(const Fonts& fonts) {
  scratch_ = cairo_image_surface_create(CAIRO_FORMAT_A8, 1, 1);
  cr_ = cairo_create(scratch_);
  cairo_set_font_options(cr_, fonts.options());
}

TextMeasure::~TextMeasure() {
  cairo_destroy(cr_);
  cairo_surface_destroy(scratch_);
}

double TextMeasure::advance(const std::string& text, double size, bool bold) {
  cairo_select_font_face(cr_, kFontFamily, CAIRO_FONT_SLANT_NORMAL,
                         bold ? CAIRO_FONT_WEIGHT_BOLD : CAIRO_FONT_WEIGHT_NORMAL);
  cairo_set_font_size(cr_, size);
  cairo_text_extents_t ext;
  cairo_text_extents(cr_, text.c_str(), &ext);
  return ext.x_advance;
}

namespace {

void set_font(cairo_t* cr, const Fonts& fonts, double size, bool bold) {
  cairo_set_font_face(cr, fonts.face(bold));
  cairo_set_font_size(cr, size);
}

}  // namespace

double text_width(cairo_t* cr, const Fonts& fonts, const std::string& s, double size, bool bold) {
  set_font(cr, fonts, size, bold);
  cairo_text_extents_t ext;
  cairo_text_extents(cr, s.c_str(), &ext);
  return ext.x_advance;
}

void draw_text(cairo_t* cr, const Fonts& fonts, const std::string& s, double x, double y,
               double size, bool bold, Align align, const Rgba& colour, double max_width) {
  if (s.empty()) return;
  double w = text_width(cr, fonts, s, size, bold);
  if (max_width > 0.0 && w > max_width) {
    size *= max_width / w;
    w = max_width;
    set_font(cr, fonts, size, bold);
  }
  if (align == Align::Center) x -= w / 2.0;
  if (align == Align::Right) x -= w;
  set_rgba(cr, colour);
  cairo_save(cr);
  cairo_translate(cr, x, y);
  cairo_scale(cr, 1.0, -1.0);
  cairo_move_to(cr, 0.0, 0.0);
  cairo_show_text(cr, s.c_str());
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
