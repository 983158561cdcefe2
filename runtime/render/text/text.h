// Text: the fonts every text is drawn in, lines laid out once per text
// value, measuring, drawing one line, and wrapping a page of text into a box
// (done once, when the scene is compiled).
#ifndef KVR_RENDER_TEXT_H
#define KVR_RENDER_TEXT_H

#include <cairo.h>

#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "model/element_model.h"
#include "text/font_files.h"

namespace kvr::render {

// One line of text laid out at one size: its glyphs, placed from the origin
// (font units of that size, y down), and how far it advances.
struct TextLayout {
  std::vector<cairo_glyph_t> glyphs;
  double advance = 0.0;
};

// The two faces (regular, bold) and the font options of every text, and
// the layouts of the lines drawn so far. Metrics are unhinted, so that text
// measures the same at every size and window scale: a layout made once
// serves every frame and every target.
class Fonts {
 public:
  Fonts();
  ~Fonts();
  Fonts(const Fonts&) = delete;
  Fonts& operator=(const Fonts&) = delete;

  cairo_font_face_t* face(bool bold) const { return bold ? bold_ : regular_; }
  const cairo_font_options_t* options() const { return options_; }

  // The layout of `text` (UTF-8) at `size`, made on first use and kept
  // until trim(). A text that cannot be laid out is empty.
  const TextLayout& layout(const std::string& text, double size, bool bold) const;
  // The same, made afresh and not kept (for measuring many candidate lines).
  TextLayout lay_out(const std::string& text, double size, bool bold) const;

  // Drops every layout kept once there are more than this many. Called
  // before a frame is drawn, never while one is (the layouts handed out
  // stay valid until then): the program writes a bounded set of texts, so
  // this is only reached by a scene that shows ever new numbers.
  void trim() const;
  static constexpr std::size_t kLayoutLimit = 4096;

 private:
  cairo_scaled_font_t* scaled(double size, bool bold) const;

  cairo_font_face_t* regular_ = nullptr;
  cairo_font_face_t* bold_ = nullptr;
  cairo_font_options_t* options_ = nullptr;
  mutable std::vector<std::pair<std::pair<double, bool>, cairo_scaled_font_t*>> scaled_;
  mutable std::unordered_map<std::string, TextLayout> layouts_;
  mutable std::string key_;
};

// Measures texts without drawing them (the compiler's view of Fonts).
class TextMeasure {
 public:
  explicit TextMeasure(const Fonts& fonts) : fonts_(fonts) {}
  double advance(const std::string& text, double size, bool bold) {
    return fonts_.lay_out(text, size, bold).advance;
  }
  const Fonts& fonts() const { return fonts_; }

 private:
  const Fonts& fonts_;
};

// How far one line of text advances, in layout units.
double text_width(const Fonts& fonts, const std::string& s, double size, bool bold);

// Where one line of text draws (layout units), the same arguments as
// draw_text: its advance box, with room for accents above capitals,
// descenders below and glyphs reaching past their advance.
Box text_box(const Fonts& fonts, const std::string& s, double x, double y, double size, bool bold,
             Align align, double max_width);

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
