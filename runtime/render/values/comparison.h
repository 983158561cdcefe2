// The difference between a current value and its pinned reference, as a
// teacher reads it: the change with its sign, in per cent of the
// reference, and whether it is an improvement.
#ifndef KVR_RENDER_COMPARISON_H
#define KVR_RENDER_COMPARISON_H

#include <optional>
#include <string>

#include "backend.h"
#include "model/element_model.h"

namespace kvr::render {

struct Difference {
  double amount = 0.0;          // current - reference
  std::optional<long> percent;  // of the reference, rounded; none when it is 0
  int verdict = 0;              // 1 better, -1 worse, 0 the same
};

Difference compare_values(double current, double reference, bool lower_is_better);

// "−11914 kWh/an (−28 %)": the minus sign U+2212 (or "+"), `decimals`
// decimals, the unit after a no-break space, the per cent in brackets.
std::string difference_text(const Difference& d, int decimals, const std::string& unit);

// How many decimals a number written by the program shows ("3.64": 2).
int decimals_of(const std::string& text);

// The line a comparison element shows now (its text, then the written
// difference) and its verdict; empty while no reference is pinned or a
// value is missing.
struct ComparisonLine {
  std::string text;
  int verdict = 0;
};
ComparisonLine comparison_line(const FrameView& view, const Node& n);

}  // namespace kvr::render

#endif
