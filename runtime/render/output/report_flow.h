// The report's pages that the runtime writes itself (the house described
// in full): sections of tables and notes that flow from page to page. Each
// cell is wrapped within its column and a row is never cut: a row that
// does not fit starts the next page, under the section's title (« suite »)
// and its column heads again. Laid out once into pages of placed lines,
// then drawn as text, so that a PDF page stays vector and searchable.
#ifndef KVR_RENDER_OUTPUT_REPORT_FLOW_H
#define KVR_RENDER_OUTPUT_REPORT_FLOW_H

#include <cairo.h>

#include <cstdint>
#include <string>
#include <vector>

#include "model/element_model.h"
#include "text/text.h"

namespace kvr::render {

// How a line of a section is drawn: column heads, a row, a row that warns
// (red, « ▲ » before its first cell), a row in bold, a note across the
// page, a footnote (small, muted).
enum class FlowStyle : std::uint8_t { Head, Row, Warn, Strong, Note, Footnote };

struct FlowLine {
  FlowStyle style = FlowStyle::Row;
  std::vector<std::string> cells;  // one per column; a note or footnote has one
  bool rule_above = false;         // a thin line across the page above it
};

struct FlowSection {
  std::string title;
  // Where each column starts, in points from the left margin.
  std::vector<double> columns;
  std::vector<FlowLine> lines;
  bool new_page = true;  // false: follows the section before on its page
};

// One line of text placed on a page: baseline in points from the bottom
// edge (y up, as the scene's layout).
struct FlowText {
  std::string text;
  double x = 0.0, y = 0.0;
  double size = 9.0;
  bool bold = false;
  Rgba colour;
};

struct FlowRule {
  double x1 = 0.0, x2 = 0.0, y = 0.0;
};

struct FlowPage {
  std::vector<FlowText> texts;
  std::vector<FlowRule> rules;
};

// The paper and the room left for the flow inside it, in points.
struct FlowFrame {
  double width = 595.28;  // A4
  double height = 841.89;
  double left = 40.0, right = 40.0;
  double top = 64.0;     // from the top edge to the first section's title
  double bottom = 40.0;  // from the bottom edge, kept free of rows
};

// The sections laid out into as many pages as they need.
std::vector<FlowPage> lay_out_flow(const std::vector<FlowSection>& sections, const FlowFrame& frame,
                                   const Fonts& fonts);

// `text` cut at its spaces into lines no wider than `width` (a word wider
// than that on its own is cut between its characters). Never empty.
std::vector<std::string> wrap_words(const std::string& text, double width, double size, bool bold,
                                    const Fonts& fonts);

// Draws one page into `cr` (points, y down, as a PDF page comes from
// Cairo), over a white sheet.
void draw_flow_page(cairo_t* cr, const FlowPage& page, const FlowFrame& frame, const Fonts& fonts);

}  // namespace kvr::render

#endif
