#include "model/colour_maps.h"

#include <algorithm>
#include <cmath>

namespace kvr::render {

namespace {

// Cividis (Nuñez, Anderton and Renslow, PLOS ONE 13(8), 2018), as matplotlib
// publishes it in matplotlib/_cm_listed.py (`_cividis_data`, 256 entries):
// every sixteenth entry and the last, read straight from that table.
struct Entry {
  int index;  // in the 256 entries
  double r, g, b;
};
constexpr Entry kCividis[kCividisStops] = {
    {0, 0.000000, 0.135112, 0.304751},   {16, 0.000000, 0.178802, 0.414764},
    {32, 0.103401, 0.220406, 0.435790},  {48, 0.195057, 0.264372, 0.425924},
    {64, 0.263738, 0.307831, 0.422789},  {80, 0.324250, 0.351289, 0.426250},
    {96, 0.380830, 0.395164, 0.435653},  {112, 0.435168, 0.439763, 0.451134},
    {128, 0.488697, 0.485318, 0.471008}, {144, 0.547840, 0.531895, 0.471704},
    {160, 0.609105, 0.579816, 0.463638}, {176, 0.671991, 0.629316, 0.448018},
    {192, 0.736488, 0.680629, 0.424028}, {208, 0.802667, 0.733978, 0.390153},
    {224, 0.870717, 0.789572, 0.343333}, {240, 0.941147, 0.847530, 0.275815},
    {255, 0.995737, 0.909344, 0.217772},
};

}  // namespace

Rgba cividis(double t) {
  if (!(t > 0.0)) t = 0.0;  // NaN too
  double at = std::min(t, 1.0) * 255.0;
  std::size_t i = 0;
  while (i + 2 < std::size(kCividis) && at > kCividis[i + 1].index) ++i;
  const Entry& a = kCividis[i];
  const Entry& b = kCividis[i + 1];
  double f = (at - a.index) / (b.index - a.index);
  f = std::clamp(f, 0.0, 1.0);
  return {a.r + (b.r - a.r) * f, a.g + (b.g - a.g) * f, a.b + (b.b - a.b) * f, 1.0};
}

Rgba cividis_stop(int i, double& at) {
  const Entry& e = kCividis[std::clamp(i, 0, kCividisStops - 1)];
  at = e.index / 255.0;
  return {e.r, e.g, e.b, 1.0};
}

double ramp_position(const std::array<double, 3>* stops, std::size_t count, const Rgba& colour) {
  if (stops == nullptr || count < 2) return 0.0;
  double best = 0.0, nearest = -1.0;
  double pieces = static_cast<double>(count - 1);
  for (std::size_t i = 0; i + 1 < count; ++i) {
    Rgba a{stops[i][0], stops[i][1], stops[i][2], 1.0};
    Rgba b{stops[i + 1][0], stops[i + 1][1], stops[i + 1][2], 1.0};
    double dr = b.r - a.r, dg = b.g - a.g, db = b.b - a.b;
    double length = dr * dr + dg * dg + db * db;
    double f = 0.0;
    if (length > 0.0)
      f = ((colour.r - a.r) * dr + (colour.g - a.g) * dg + (colour.b - a.b) * db) / length;
    f = std::clamp(f, 0.0, 1.0);
    double er = a.r + dr * f - colour.r, eg = a.g + dg * f - colour.g, eb = a.b + db * f - colour.b;
    double distance = er * er + eg * eg + eb * eb;
    if (nearest < 0.0 || distance < nearest) {
      nearest = distance;
      best = (static_cast<double>(i) + f) / pieces;
    }
  }
  return best;
}

}  // namespace kvr::render
