#include <algorithm>

#include "charts.h"
#include "palette.h"
#include "records.h"
#include "text.h"

namespace kvr::render {

namespace {

// A dark tag pointing left at the bar whose middle is at y_mid, holding
// the letter.
void draw_tag(const DrawContext& dc, const Node& n, double y_mid, double full, double bar_h,
              double step, const std::string& letter) {
  cairo_t* cr = dc.cr;
  double tag_r = n.x2;
  double tag_l = n.x1 + full + bar_h;
  double h = step * 1.1;
  cairo_new_path(cr);
  cairo_move_to(cr, tag_l, y_mid);
  cairo_line_to(cr, tag_l + h / 2.0, y_mid + h / 2.0);
  cairo_line_to(cr, tag_r, y_mid + h / 2.0);
  cairo_line_to(cr, tag_r, y_mid - h / 2.0);
  cairo_line_to(cr, tag_l + h / 2.0, y_mid - h / 2.0);
  cairo_close_path(cr);
  set_rgba(cr, {0.12, 0.12, 0.14, 1.0});
  cairo_fill(cr);
  draw_text(cr, dc.fonts, letter, (tag_l + h / 2.0 + tag_r) / 2.0, centred_baseline(y_mid, h * 0.8),
            h * 0.8, true, Align::Center, {1.0, 1.0, 1.0, 1.0}, 0.0);
}

}  // namespace

void draw_class_scale(const DrawContext& dc, const Node& n) {
  cairo_t* cr = dc.cr;
  std::size_t count = std::min(n.letters.size(), n.colours.size());
  if (count == 0) return;
  std::string marked = n.text.empty() ? "" : std::string(trimmed(compose(dc.view, n.text)));
  double step = (n.y2 - n.y1) / static_cast<double>(count);
  double bar_h = step * 0.86;
  double full = (n.x2 - n.x1) * 0.62;
  for (std::size_t i = 0; i < count; ++i) {
    double top = n.y2 - step * static_cast<double>(i);
    double len = full * (0.45 + 0.55 * static_cast<double>(i) / static_cast<double>(count - 1));
    // The bar ends in a point, like the arrows of an energy label.
    double y_mid = top - bar_h / 2.0;
    cairo_new_path(cr);
    cairo_move_to(cr, n.x1, top);
    cairo_line_to(cr, n.x1 + len, top);
    cairo_line_to(cr, n.x1 + len + bar_h / 2.0, y_mid);
    cairo_line_to(cr, n.x1 + len, top - bar_h);
    cairo_line_to(cr, n.x1, top - bar_h);
    cairo_close_path(cr);
    set_rgba(cr, n.colours[i]);
    cairo_fill(cr);
    std::string letter(1, n.letters[i]);
    draw_text(cr, dc.fonts, letter, n.x1 + 3.0, centred_baseline(y_mid, bar_h * 0.9), bar_h * 0.9,
              true, Align::Left, {1.0, 1.0, 1.0, 1.0}, 0.0);
    if (marked == letter) draw_tag(dc, n, y_mid, full, bar_h, step, letter);
  }
  // The note is left out until its bound texts hold something.
  bool filled = std::all_of(n.note.begin(), n.note.end(), [&](const TextPart& p) {
    return p.var < 0 || !trimmed(compose(dc.view, {p})).empty();
  });
  std::string note = compose(dc.view, n.note);
  if (filled && !trimmed(note).empty())
    draw_text(cr, dc.fonts, std::string(trimmed(note)), (n.x1 + n.x2) / 2.0, n.y1 - n.size * 1.3,
              n.size, false, Align::Center, kLook.text, n.x2 - n.x1);
}

}  // namespace kvr::render
