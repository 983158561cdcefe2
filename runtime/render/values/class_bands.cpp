#include "values/class_bands.h"

#include <cmath>

#include "values/records.h"

namespace kvr::render {

namespace {

std::string whole(double value) {
  return std::to_string(round_half_away(value));
}

void replace_all(std::string& text, const std::string& key, const std::string& value) {
  for (std::size_t at = text.find(key); at != std::string::npos;
       at = text.find(key, at + value.size()))
    text.replace(at, key.size(), value);
}

}  // namespace

long round_half_away(double value) {
  return static_cast<long>(std::round(value));  // std::round rounds halves away from zero
}

std::vector<std::string> band_texts(const std::vector<double>& upper_bounds) {
  std::vector<std::string> out;
  if (upper_bounds.empty()) return out;
  out.push_back("≤ " + whole(upper_bounds.front()));
  for (std::size_t i = 1; i < upper_bounds.size(); ++i)
    out.push_back(std::to_string(round_half_away(upper_bounds[i - 1]) + 1) + " à " +
                  whole(upper_bounds[i]));
  out.push_back("> " + whole(upper_bounds.back()));
  return out;
}

std::optional<ClassDistance> class_distance(const std::string& letters,
                                            const std::vector<double>& upper_bounds, double divisor,
                                            double total, char shown) {
  std::size_t index = letters.find(shown);
  if (shown == 0 || index == std::string::npos || index == 0) return std::nullopt;
  if (index > upper_bounds.size() || !(divisor > 0.0) || !std::isfinite(total)) return std::nullopt;
  long graded = round_half_away(total / divisor);
  long bound = round_half_away(upper_bounds[index - 1]);
  ClassDistance d;
  d.amount = graded - bound < 1 ? 1 : graded - bound;
  d.letter = letters[index - 1];
  return d;
}

std::string distance_text(const std::string& format, const ClassDistance& distance,
                          const std::string& unit) {
  std::string out = format;
  replace_all(out, "{distance}", std::to_string(distance.amount));
  replace_all(out, "{unit}", unit);
  replace_all(out, "{letter}", std::string(1, distance.letter));
  return out;
}

std::vector<std::string> class_distance_lines(const FrameView& view, const Node& n) {
  std::string need(trimmed(part_text(view, n.current)));
  std::string shown = n.text.empty() ? "" : std::string(trimmed(compose(view, n.text)));
  if (need.empty() || shown.size() != 1) return {};
  std::optional<ClassDistance> d =
      class_distance(n.letters, n.bounds, n.divisor, parse_number(need), shown[0]);
  if (!d) return {};
  std::string text = distance_text(n.format, *d, n.unit);
  std::vector<std::string> lines;
  for (std::size_t from = 0;;) {
    std::size_t end = text.find('\n', from);
    lines.push_back(text.substr(from, end == std::string::npos ? end : end - from));
    if (end == std::string::npos) break;
    from = end + 1;
  }
  return lines;
}

}  // namespace kvr::render
