#include "paint_bands.h"

#include <time.h>

#include <algorithm>

namespace kvr::render {

namespace {

// Damaged pixels above `row`.
long area_above(const std::vector<DeviceRect>& damage, int row) {
  long a = 0;
  for (const DeviceRect& r : damage)
    a += static_cast<long>(r.width) * std::clamp(row - r.y, 0, std::max(r.height, 0));
  return a;
}

}  // namespace

long damaged_area(const std::vector<DeviceRect>& damage) {
  long total = 0;
  for (const DeviceRect& r : damage)
    if (!r.empty()) total += static_cast<long>(r.width) * r.height;
  return total;
}

double area_share(const std::vector<DeviceRect>& damage, int row) {
  long total = damaged_area(damage);
  if (total <= 0) return 0.5;
  return static_cast<double>(area_above(damage, row)) / static_cast<double>(total);
}

double next_share(double share, double top_ms, double bottom_ms) {
  share = std::clamp(share, 0.15, 0.85);
  if (!(top_ms > 0.0) || !(bottom_ms > 0.0)) return share;
  // Time per share of the area in each band.
  double top = top_ms / share, bottom = bottom_ms / (1.0 - share);
  double balanced = bottom / (top + bottom);
  return std::clamp((share + balanced) / 2.0, 0.15, 0.85);
}

std::optional<int> seam_row(const std::vector<DeviceRect>& damage, double share,
                            const std::function<bool(int)>& cuts_text, long min_area) {
  long total = 0;
  int top = 0, bottom = 0;
  bool any = false;
  for (const DeviceRect& r : damage) {
    if (r.empty()) continue;
    total += static_cast<long>(r.width) * r.height;
    top = any ? std::min(top, r.y) : r.y;
    bottom = any ? std::max(bottom, r.y + r.height) : r.y + r.height;
    any = true;
  }
  if (!any || total < min_area || bottom - top < 2) return std::nullopt;
  // The first row with the share of the damage above it.
  double wanted = std::clamp(share, 0.0, 1.0) * static_cast<double>(total);
  int lo = top + 1, hi = bottom - 1;
  while (lo < hi) {
    int mid = lo + (hi - lo) / 2;
    if (static_cast<double>(area_above(damage, mid)) >= wanted)
      hi = mid;
    else
      lo = mid + 1;
  }
  // The nearest row that cuts no text, within a quarter of the damage's
  // height: beyond, one band would hold most of the work.
  int reach = (bottom - top) / 4;
  for (int d = 0; d <= reach; ++d) {
    for (int row : {lo - d, lo + d}) {
      if (row <= top || row >= bottom) continue;
      if (!cuts_text(row)) return row;
    }
  }
  return std::nullopt;
}

void rows_of(const std::vector<DeviceRect>& damage, int y1, int y2, std::vector<DeviceRect>& out) {
  out.clear();
  for (const DeviceRect& r : damage) {
    int a = std::max(r.y, y1), b = std::min(r.y + r.height, y2);
    if (a < b && r.width > 0) out.push_back({r.x, a, r.width, b - a});
  }
}

bool bands_paid_off(double elapsed_ms, double top_cpu_ms, double bottom_cpu_ms) {
  double both = top_cpu_ms + bottom_cpu_ms;
  // A clock too coarse to tell: keep painting in bands.
  if (!(both > 0.0)) return true;
  return elapsed_ms < 0.85 * both;
}

void BandVerdict::record(BandOutcome outcome, Clock::time_point now) {
  switch (outcome) {
    case BandOutcome::PaidOff:
      took_turns_ = helper_late_ = 0;
      return;
    case BandOutcome::TookTurns:
      ++took_turns_;
      break;
    case BandOutcome::HelperLate:
      ++helper_late_;
      break;
  }
  if (took_turns_ < kBandStrikes && helper_late_ < kLateStrikes) return;
  took_turns_ = helper_late_ = 0;
  one_thread_until_ = now + kBandRetry;
}

double thread_cpu_ms() {
  timespec ts{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
  return static_cast<double>(ts.tv_sec) * 1e3 + static_cast<double>(ts.tv_nsec) / 1e6;
}

}  // namespace kvr::render
