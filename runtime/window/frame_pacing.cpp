#include "frame_pacing.h"

#include <cmath>

namespace kvr {

int FramePacing::wait_ms(double now) const {
  if (!dirty_) return -1;
  double left = next_ - now;
  if (left <= 0.0) return 1;
  return static_cast<int>(std::ceil(left * 1000.0));
}

}  // namespace kvr
