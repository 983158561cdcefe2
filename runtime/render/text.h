// Text: the fonts every text is drawn in, measuring, drawing one line, and
// wrapping a page of text into a box (done once, when the scene is compiled).
#ifndef KVR_RENDER_TEXT_H
#define KVR_RENDER_TEXT_H

#include <cairo.h>

#include <string>
#include <vector>

#include "element_model.h"

namespace kvr::render {

inline constexpr const char* kFontFamily = "DejaVu Sans";

// The two faces (regular, bold) and the font options of every text.
// Metrics are unhinted, so that text measures the same at every size.
class Fonts {
 public:
  Fonts();
  ~Fonts();
  Fonts(const Fonts&) = delete;
  Fonts& operator=(const Fonts&) = delete;

  cairo_font_face_t* face(bool bold) const { return bold ? bold_ : regular_; }
  const cairo_font_options_t* options() const { return options_; }

 private:
  cairo_font_face_t* regular_ = nullptr;
  cairo_font_face_t* bold_ = nullptr;
  cairo_font_options_t* options_ = nullptr;
};

// Measures texts without drawing them, on a scratch surface of its own.
class TextMeasure {
 public:
  explicit TextMeasure(const Fonts& fonts);
  ~TextMeasure();
  TextMeasure(const TextMeasure&) = delete;
  TextMeasure& operator=(const TextMeasure&) = delete;

  double advance(const std::string& text, double size, bool bold);

 private:
  cairo_surface_t* scratch_ = nullptr;
  cairo_t* cr_ = nullptr;
};

// How far one line of text advances, in the units of `cr`.
double text_width(cairo_t* cr, const Fonts& fonts, const std::string& s, double size, bool bold);

// Draws one line of text with its baseline at y (layout units, y up).
// A text wider than max_width (when > 0) is drawn smaller to fit.
void draw_text(cairo_t* cr, const Fonts& fonts, const std::string& s, double x, double y,
               double size, bool bold, Align align, const Rgba& colour, double max_width);

// Baseline that centres a line of the given size vertically on `mid`.
inline double centred_baseline(double mid, double size) {
  return mid - size * 0.36;
}

struct WrappedText {
  std::vector<Line> lines;
  bool overflows = false;  // the text runs below its box
};

// Wraps a page of text into the box x1..x2, y1..y2 (first baseline one size
// below the top). Paragraphs are separated by "\n"; a paragraph starting
// with "# " is a heading, one starting with "- " a bullet with a hanging
// indent. `leading` and `gap` are in multiples of the size.
WrappedText wrap_paragraph(const std::string& text, double x1, double y1, double x2, double y2,
                           double size, double leading, double gap, TextMeasure& measure);

}  // namespace kvr::render

#endif
