// A large redraw split in two bands of rows, painted at once by two
// threads (PaintHelper). The seam shares out the damaged area, and never
// runs through a drawn text: Cairo 1.16 may leave out the top row of a
// glyph that a clip cuts (see FrameTracker::keep_texts_whole).
#ifndef KVR_RENDER_PAINT_BANDS_H
#define KVR_RENDER_PAINT_BANDS_H

#include <chrono>
#include <functional>
#include <optional>
#include <vector>

#include "scene_renderer.h"

namespace kvr::render {

// Less damage than this many pixels is painted by one thread: waking the
// other would cost more than it saves.
inline constexpr long kBandMinArea = 120000;

// The row where the damage splits in two (rows above it, and from it on)
// with `share` of the damaged area above, or the nearest row to it that
// runs through no text (`cuts_text(row)`). None when the damage is too
// small, or every row within a quarter of its height does.
// `min_area` replaces kBandMinArea.
std::optional<int> seam_row(const std::vector<DeviceRect>& damage, double share,
                            const std::function<bool(int)>& cuts_text,
                            long min_area = kBandMinArea);

// The damaged pixels (rectangles that overlap counted in each).
long damaged_area(const std::vector<DeviceRect>& damage);

// The share of the damaged area above `row`.
double area_share(const std::vector<DeviceRect>& damage, int row);

// The share of the damaged area to give the top band next: the one that
// would have made both bands take as long, had the work lain in them as
// it did (`share` above the seam, painted in top_ms and bottom_ms), moved
// halfway there from `share` and kept within 0.15 .. 0.85.
double next_share(double share, double top_ms, double bottom_ms);

// The parts of `damage` within rows y1 (included) to y2 (excluded).
void rows_of(const std::vector<DeviceRect>& damage, int y1, int y2, std::vector<DeviceRect>& out);

// Whether painting in two bands saved time: the frame took `elapsed_ms`,
// the bands top_cpu_ms and bottom_cpu_ms of processor time. When the two
// threads had to take turns on one core, the frame took about as long as
// both bands together.
bool bands_paid_off(double elapsed_ms, double top_cpu_ms, double bottom_cpu_ms);

// How long one thread paints after bands did not pay off: kBandStrikes
// frames in which both bands ran on the two threads but took turns, or
// kLateStrikes in which the helper had not begun its band when the other
// ended (the calling thread then painted it: a late helper costs little
// more than one thread, so it is given more chances).
inline constexpr std::chrono::milliseconds kBandRetry{2000};
inline constexpr int kBandStrikes = 3;
inline constexpr int kLateStrikes = 8;

// How a frame painted in bands went.
enum class BandOutcome {
  PaidOff,     // the two ran at once
  TookTurns,   // both ran on the helper and here, but one after the other
  HelperLate,  // this thread painted both bands
};

// Whether the next large damage is painted in bands, from how the last
// frames painted in bands went. One slow frame (the first at a new size,
// which makes masks and lays out texts; a helper slow to wake) says little
// about the next: only a run of frames that did not pay off leaves the
// next kBandRetry to one thread, after which bands are tried again.
class BandVerdict {
 public:
  using Clock = std::chrono::steady_clock;
  bool allows(Clock::time_point now) const { return now >= one_thread_until_; }
  void record(BandOutcome outcome, Clock::time_point now);

 private:
  // Frames since the last that paid off, of either kind.
  int took_turns_ = 0, helper_late_ = 0;
  Clock::time_point one_thread_until_{};
};

// Processor time of the calling thread, in milliseconds.
double thread_cpu_ms();

}  // namespace kvr::render

#endif
