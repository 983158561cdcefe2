#include "output/report_flow.h"

#include <algorithm>
#include <cctype>

#include "model/palette.h"

namespace kvr::render {

namespace {

constexpr double kTitleSize = 15.0;
constexpr double kLeading = 1.4;    // line height, in sizes
constexpr double kColumnGap = 6.0;  // points kept free before the next column
constexpr const char* kWarnMark = "▲ ";

double size_of(FlowStyle style) {
  switch (style) {
    case FlowStyle::Head:
      return 8.5;
    case FlowStyle::Footnote:
      return 7.5;
    default:
      return 9.5;
  }
}

bool bold_of(FlowStyle style) {
  return style == FlowStyle::Head || style == FlowStyle::Strong;
}

Rgba colour_of(FlowStyle style) {
  switch (style) {
    case FlowStyle::Head:
    case FlowStyle::Footnote:
      return kLook.muted;
    case FlowStyle::Warn:
      return kLook.worse;
    default:
      return kLook.text;
  }
}

// Notes, footnotes and the first row of a group keep a little room above.
bool gap_above(const FlowLine& line) {
  return line.style == FlowStyle::Note || line.style == FlowStyle::Footnote || line.rule_above;
}

bool spans_page(FlowStyle style) {
  return style == FlowStyle::Note || style == FlowStyle::Footnote;
}

// The end of the UTF-8 character that starts at `at`.
std::size_t next_character(const std::string& text, std::size_t at) {
  ++at;
  while (at < text.size() && (static_cast<unsigned char>(text[at]) & 0xC0U) == 0x80U) ++at;
  return at;
}

// A word wider than the column: as many characters per line as fit (at
// least one, so that the cut always moves on).
void cut_word(const std::string& word, double width, double size, bool bold, const Fonts& fonts,
              std::vector<std::string>& lines) {
  std::string line;
  for (std::size_t at = 0; at < word.size();) {
    std::size_t end = next_character(word, at);
    std::string longer = line + word.substr(at, end - at);
    if (!line.empty() && fonts.lay_out(longer, size, bold).advance > width) {
      lines.push_back(line);
      line = word.substr(at, end - at);
    } else {
      line = std::move(longer);
    }
    at = end;
  }
  if (!line.empty()) lines.push_back(line);
}

// A line of a section with its cells wrapped: where each cell starts and
// its lines.
struct Wrapped {
  std::vector<double> x;
  std::vector<std::vector<std::string>> cells;
  std::size_t lines = 1;
};

class Flow {
 public:
  Flow(const FlowFrame& frame, const Fonts& fonts) : frame_(frame), fonts_(fonts) {}

  void section(const FlowSection& s) {
    if (s.new_page || pages_.empty()) {
      new_page();
    } else {
      top_ += kTitleSize;
    }
    // The title stays with the first line, as column heads with the row
    // after them.
    double first = title_height(s.title) + keep_height(s, 0);
    if (rows_on_page_ > 0 && top_ + first > bottom()) new_page();
    title(s.title, false);
    const FlowLine* head = nullptr;
    for (std::size_t i = 0; i < s.lines.size(); ++i) {
      const FlowLine& line = s.lines[i];
      if (rows_on_page_ > 0 && top_ + keep_height(s, i) > bottom()) {
        new_page();
        title(s.title, true);
        if (head != nullptr && line.style != FlowStyle::Head) put(s, *head, wrap(s, *head));
      }
      put(s, line, wrap(s, line));
      if (line.style == FlowStyle::Head) head = &line;
    }
  }

  std::vector<FlowPage> pages() { return std::move(pages_); }

 private:
  double bottom() const { return frame_.height - frame_.bottom; }
  double content_width() const { return frame_.width - frame_.left - frame_.right; }

  void new_page() {
    pages_.emplace_back();
    top_ = frame_.top;
    rows_on_page_ = 0;
  }

  void title(const std::string& text, bool continued) {
    std::string shown = continued ? text + " (suite)" : text;
    for (const std::string& line : wrap_words(shown, content_width(), kTitleSize, true, fonts_)) {
      text_at(line, frame_.left, top_ + kTitleSize, kTitleSize, true, kLook.text);
      top_ += kTitleSize * kLeading;
    }
    top_ += kTitleSize * 0.3;
  }

  Wrapped wrap(const FlowSection& s, const FlowLine& line) const {
    Wrapped w;
    const double size = size_of(line.style);
    const bool bold = bold_of(line.style);
    const std::size_t count =
        spans_page(line.style) ? std::min<std::size_t>(line.cells.size(), 1) : line.cells.size();
    for (std::size_t c = 0; c < count; ++c) {
      double start = spans_page(line.style) || s.columns.empty()
                         ? 0.0
                         : s.columns[std::min(c, s.columns.size() - 1)];
      double end = content_width();
      if (!spans_page(line.style) && c + 1 < s.columns.size()) end = s.columns[c + 1] - kColumnGap;
      // Cells past the last column are left out rather than drawn over it.
      if (!spans_page(line.style) && !s.columns.empty() && c >= s.columns.size()) break;
      std::string text = line.cells[c];
      if (line.style == FlowStyle::Warn && c == 0) text = kWarnMark + text;
      w.x.push_back(frame_.left + start);
      w.cells.push_back(wrap_words(text, std::max(end - start, size), size, bold, fonts_));
      w.lines = std::max(w.lines, w.cells.back().size());
    }
    return w;
  }

  double title_height(const std::string& text) const {
    return static_cast<double>(wrap_words(text, content_width(), kTitleSize, true, fonts_).size()) *
               kTitleSize * kLeading +
           kTitleSize * 0.3;
  }

  // The room line `i` needs on this page: its own, and the next line's
  // after column heads.
  double keep_height(const FlowSection& s, std::size_t i) const {
    if (i >= s.lines.size()) return 0.0;
    double keep = height_of(s.lines[i], wrap(s, s.lines[i]));
    if (s.lines[i].style == FlowStyle::Head && i + 1 < s.lines.size())
      keep += height_of(s.lines[i + 1], wrap(s, s.lines[i + 1]));
    return keep;
  }

  static double height_of(const FlowLine& line, const Wrapped& w) {
    double size = size_of(line.style);
    double gap = gap_above(line) ? size * 0.4 : 0.0;
    return static_cast<double>(w.lines) * size * kLeading + gap;
  }

  // A row taller than a whole page goes on over the next one, line by line.
  void put(const FlowSection& s, const FlowLine& line, const Wrapped& w) {
    const double size = size_of(line.style);
    const bool bold = bold_of(line.style);
    const Rgba colour = colour_of(line.style);
    if (gap_above(line)) top_ += size * 0.4;
    if (line.rule_above) rule(top_ - size * 0.2);
    for (std::size_t k = 0; k < w.lines; ++k) {
      if (k > 0 && top_ + size * kLeading > bottom()) {
        new_page();
        title(s.title, true);
      }
      for (std::size_t c = 0; c < w.cells.size(); ++c)
        if (k < w.cells[c].size()) text_at(w.cells[c][k], w.x[c], top_ + size, size, bold, colour);
      top_ += size * kLeading;
    }
    if (line.style == FlowStyle::Head) rule(top_ - size * 0.25);
    ++rows_on_page_;
  }

  void text_at(const std::string& text, double x, double top_down, double size, bool bold,
               const Rgba& colour) {
    if (text.empty()) return;
    pages_.back().texts.push_back({text, x, frame_.height - top_down, size, bold, colour});
  }

  void rule(double top_down) {
    pages_.back().rules.push_back(
        {frame_.left, frame_.width - frame_.right, frame_.height - top_down});
  }

  const FlowFrame& frame_;
  const Fonts& fonts_;
  std::vector<FlowPage> pages_;
  double top_ = 0.0;  // from the top edge down to the top of the next line
  std::size_t rows_on_page_ = 0;
};

}  // namespace

std::vector<std::string> wrap_words(const std::string& text, double width, double size, bool bold,
                                    const Fonts& fonts) {
  // The words, a number kept with the unit after it (« 0.300 m », « 20 °C »).
  std::vector<std::string> words;
  for (std::size_t pos = 0; pos <= text.size();) {
    std::size_t space = text.find(' ', pos);
    if (space == std::string::npos) space = text.size();
    std::string word = text.substr(pos, space - pos);
    pos = space + 1;
    if (word.empty()) continue;
    bool unit = word.size() <= 7 && !std::isdigit(static_cast<unsigned char>(word[0]));
    if (unit && !words.empty() && std::isdigit(static_cast<unsigned char>(words.back().back()))) {
      words.back() += " " + word;
    } else {
      words.push_back(std::move(word));
    }
  }
  std::vector<std::string> lines;
  std::string line;
  for (const std::string& word : words) {
    std::string candidate = line.empty() ? word : line + " " + word;
    if (fonts.lay_out(candidate, size, bold).advance <= width) {
      line = std::move(candidate);
      continue;
    }
    if (!line.empty()) lines.push_back(line);
    line.clear();
    if (fonts.lay_out(word, size, bold).advance <= width) {
      line = word;
    } else {
      cut_word(word, width, size, bold, fonts, lines);
      line = lines.back();
      lines.pop_back();
    }
  }
  if (!line.empty() || lines.empty()) lines.push_back(line);
  return lines;
}

std::vector<FlowPage> lay_out_flow(const std::vector<FlowSection>& sections, const FlowFrame& frame,
                                   const Fonts& fonts) {
  Flow flow(frame, fonts);
  for (const FlowSection& s : sections) flow.section(s);
  return flow.pages();
}

void draw_flow_page(cairo_t* cr, const FlowPage& page, const FlowFrame& frame, const Fonts& fonts) {
  cairo_save(cr);
  cairo_set_source_rgb(cr, 1.0, 1.0, 1.0);
  cairo_paint(cr);
  cairo_translate(cr, 0.0, frame.height);
  cairo_scale(cr, 1.0, -1.0);
  cairo_set_font_options(cr, fonts.options());
  set_rgba(cr, {0.67, 0.70, 0.75, 1.0});
  cairo_set_line_width(cr, 0.6);
  for (const FlowRule& r : page.rules) {
    cairo_move_to(cr, r.x1, r.y);
    cairo_line_to(cr, r.x2, r.y);
  }
  cairo_stroke(cr);
  for (const FlowText& t : page.texts)
    draw_text(cr, fonts, t.text, t.x, t.y, t.size, t.bold, Align::Left, t.colour, 0.0);
  cairo_restore(cr);
}

}  // namespace kvr::render
