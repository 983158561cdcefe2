#include <algorithm>
#include <cmath>

#include "model/palette.h"
#include "text/text.h"
#include "values/class_bands.h"
#include "values/frame_values.h"
#include "values/records.h"
#include "widgets/charts.h"

namespace kvr::render {

namespace {

// A tag pointing left at the bar whose middle is at y_mid, holding the
// letter: dark and filled for the letter shown, outlined (hollow) for the
// pinned reference's letter. It spans tag_l..tag_r.
void draw_tag(const DrawContext& dc, double tag_l, double tag_r, double y_mid, double h,
              const std::string& letter, bool hollow) {
  cairo_t* cr = dc.cr;
  cairo_new_path(cr);
  cairo_move_to(cr, tag_l, y_mid);
  cairo_line_to(cr, tag_l + h / 2.0, y_mid + h / 2.0);
  cairo_line_to(cr, tag_r, y_mid + h / 2.0);
  cairo_line_to(cr, tag_r, y_mid - h / 2.0);
  cairo_line_to(cr, tag_l + h / 2.0, y_mid - h / 2.0);
  cairo_close_path(cr);
  Rgba dark{0.12, 0.12, 0.14, 1.0};
  if (hollow) {
    set_rgba(cr, {1.0, 1.0, 1.0, 1.0});
    cairo_fill_preserve(cr);
    set_rgba(cr, dark);
    cairo_set_line_width(cr, 1.1);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_MITER);
    cairo_stroke(cr);
  } else {
    set_rgba(cr, dark);
    cairo_fill(cr);
  }
  draw_text(cr, dc.fonts, letter, (tag_l + h / 2.0 + tag_r) / 2.0, centred_baseline(y_mid, h * 0.8),
            h * 0.8, true, Align::Center, hollow ? dark : Rgba{1.0, 1.0, 1.0, 1.0}, 0.0);
}

// White letters on dark bars, dark ones on light bars.
Rgba ink_on(const Rgba& bar) {
  double light = 0.299 * bar.r + 0.587 * bar.g + 0.114 * bar.b;
  return light > 0.62 ? Rgba{0.12, 0.12, 0.14, 1.0} : Rgba{1.0, 1.0, 1.0, 1.0};
}

// In the palette for every eye: white or dark letters, whichever stands out
// more from the bar (the contrast ratio of relative luminances).
Rgba contrasting_ink(const Rgba& bar) {
  auto linear = [](double c) {
    return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
  };
  Rgba dark{0.12, 0.12, 0.14, 1.0};
  double l = 0.2126 * linear(bar.r) + 0.7152 * linear(bar.g) + 0.0722 * linear(bar.b);
  double d = 0.2126 * linear(dark.r) + 0.7152 * linear(dark.g) + 0.0722 * linear(dark.b);
  return 1.05 / (l + 0.05) >= (l + 0.05) / (d + 0.05) ? Rgba{1.0, 1.0, 1.0, 1.0} : dark;
}

}  // namespace

void draw_class_scale(const DrawContext& dc, const Node& n) {
  cairo_t* cr = dc.cr;
  // The letters stay; in the palette for every eye their colours are
  // those of the scale's cividis twin.
  bool cividis = cividis_palette(dc.view) && n.cividis_colours.size() == n.colours.size();
  const std::vector<Rgba>& colours = cividis ? n.cividis_colours : n.colours;
  std::size_t count = std::min(n.letters.size(), colours.size());
  if (count == 0) return;
  const ElementValues& shown = dc.values->of(n, dc.view);
  const std::string& marked = shown.line(0);
  const std::string& pinned = shown.line(1);
  std::vector<std::string> bands = n.bands ? band_texts(n.bounds) : std::vector<std::string>{};
  double step = (n.y2 - n.y1) / static_cast<double>(count);
  double bar_h = step * 0.86;
  double full = (n.x2 - n.x1) * 0.62;
  double tag_l = n.x1 + full + bar_h, tag_r = n.x2;
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
    set_rgba(cr, colours[i]);
    cairo_fill(cr);
    std::string letter(1, n.letters[i]);
    double letter_size = bar_h * 0.9;
    draw_text(cr, dc.fonts, letter, n.x1 + 3.0, centred_baseline(y_mid, letter_size), letter_size,
              true, Align::Left, cividis ? contrasting_ink(colours[i]) : Rgba{1.0, 1.0, 1.0, 1.0},
              0.0);
    // The letter's range inside its bar, right of the letter, where it fits.
    if (i < bands.size()) {
      double band_size = bar_h * 0.68;
      double from = n.x1 + 3.0 + text_width(dc.fonts, letter, letter_size, true) + 3.0;
      double room = n.x1 + len + bar_h * 0.25 - from;
      if (text_width(dc.fonts, bands[i], band_size, false) <= room)
        draw_text(cr, dc.fonts, bands[i], from, centred_baseline(y_mid, band_size), band_size,
                  false, Align::Left, cividis ? contrasting_ink(colours[i]) : ink_on(colours[i]),
                  0.0);
    }
    bool is_marked = marked == letter, is_pinned = pinned == letter;
    double h = step * 1.1;
    if (is_marked && is_pinned) {
      // Both on one bar: the two tags side by side.
      double middle = (tag_l + tag_r) / 2.0;
      draw_tag(dc, tag_l, middle - 0.5, y_mid, h, letter, false);
      draw_tag(dc, middle + 0.5, tag_r, y_mid, h, letter, true);
    } else if (is_marked) {
      draw_tag(dc, tag_l, tag_r, y_mid, h, letter, false);
    }
  }
  // The reference's hollow tag goes over the bars, after them.
  for (std::size_t i = 0; i < count && !pinned.empty(); ++i) {
    std::string letter(1, n.letters[i]);
    if (pinned != letter || marked == letter) continue;
    double y_mid = n.y2 - step * static_cast<double>(i) - bar_h / 2.0;
    draw_tag(dc, tag_l, tag_r, y_mid, step * 0.95, letter, true);
  }
  // The note is left out until its bound texts hold something.
  const std::string& note = shown.line(2);
  if (!note.empty())
    draw_text(cr, dc.fonts, note, (n.x1 + n.x2) / 2.0, n.y1 - n.size * 1.3, n.size, false,
              Align::Center, kLook.text, n.x2 - n.x1);
}

}  // namespace kvr::render
