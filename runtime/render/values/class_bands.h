// A graded class scale as numbers: the range of each letter and how far a
// value has to fall to reach the next better letter.
#ifndef KVR_RENDER_CLASS_BANDS_H
#define KVR_RENDER_CLASS_BANDS_H

#include <optional>
#include <string>
#include <vector>

#include "backend.h"
#include "model/element_model.h"

namespace kvr::render {

// Rounded to the whole number, halves away from zero (2.5 -> 3, -2.5 -> -3).
long round_half_away(double value);

// The range of each letter, best first, for whole-number values: "≤ 50",
// "51 à 90", ..., "> 450" for the bounds 50, 90, ..., 450.
std::vector<std::string> band_texts(const std::vector<double>& upper_bounds);

struct ClassDistance {
  long amount = 0;  // how much lower the graded value must get
  char letter = 0;  // the next better letter
};

// The distance from the graded value (`total` / `divisor`, rounded) to the
// next better letter than `shown`, the letter the program shows: that
// letter's upper bound subtracted from the rounded value, at least 1, so
// that the line never contradicts the letter shown. Nothing at the best
// letter or for a letter not on the scale.
std::optional<ClassDistance> class_distance(const std::string& letters,
                                            const std::vector<double>& upper_bounds, double divisor,
                                            double total, char shown);

// `format` with {distance}, {unit} and {letter} filled in.
std::string distance_text(const std::string& format, const ClassDistance& distance,
                          const std::string& unit);

// What a class distance element shows now, one string per line (its
// format may break lines with "\n"); none at the best letter or while the
// need or the class is not written.
std::vector<std::string> class_distance_lines(const FrameView& view, const Node& n);
// The baseline of line `i` of a class distance: 1.25 sizes apart.
inline double class_distance_baseline(const Node& n, std::size_t i) {
  return n.label_at.y - 1.25 * n.size * static_cast<double>(i);
}

}  // namespace kvr::render

#endif
