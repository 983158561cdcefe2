#include "values/comparison.h"

#include <cmath>
#include <cstdio>

#include "values/class_bands.h"
#include "values/records.h"

namespace kvr::render {

namespace {

constexpr const char* kMinus = "\xE2\x88\x92";  // U+2212
constexpr const char* kNoBreak = "\xC2\xA0";    // U+00A0

std::string signed_number(double value, int decimals) {
  char digits[64];
  std::snprintf(digits, sizeof digits, "%.*f", decimals, std::fabs(value));
  // A change that rounds to nothing is written without a sign.
  bool zero = true;
  for (const char* c = digits; *c != '\0'; ++c) zero = zero && (*c == '0' || *c == '.');
  std::string out = zero ? "" : value < 0.0 ? kMinus : "+";
  out.append(digits);
  return out;
}

}  // namespace

Difference compare_values(double current, double reference, bool lower_is_better) {
  Difference d;
  d.amount = current - reference;
  if (reference != 0.0) d.percent = round_half_away(100.0 * d.amount / reference);
  if (d.amount != 0.0) d.verdict = (d.amount < 0.0) == lower_is_better ? 1 : -1;
  return d;
}

std::string difference_text(const Difference& d, int decimals, const std::string& unit) {
  std::string out = signed_number(d.amount, decimals);
  if (!unit.empty()) {
    out.append(kNoBreak);
    out.append(unit);
  }
  if (d.percent) {
    long p = *d.percent;
    out.append(" (");
    out.append(p < 0 ? kMinus : p > 0 ? "+" : "");
    out.append(std::to_string(p < 0 ? -p : p));
    out.append(kNoBreak);
    out.append("%)");
  }
  return out;
}

int decimals_of(const std::string& text) {
  std::size_t dot = text.find('.');
  if (dot == std::string::npos) return 0;
  int count = 0;
  for (std::size_t i = dot + 1; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) ++count;
  return count;
}

ComparisonLine comparison_line(const FrameView& view, const Node& n) {
  ComparisonLine line;
  if (!reference_pinned(view)) return line;
  std::string current(trimmed(part_text(view, n.current)));
  std::string reference(trimmed(part_text(view, n.reference)));
  if (current.empty() || reference.empty()) return line;
  Difference d = compare_values(parse_number(current), parse_number(reference), n.lower_is_better);
  int decimals = std::max(decimals_of(current), decimals_of(reference));
  line.text = compose(view, n.text) + difference_text(d, decimals, n.unit);
  line.verdict = d.verdict;
  return line;
}

}  // namespace kvr::render
