// When the window draws and when a poll may sleep, decided without a
// display: frames only for what is out of date, at most one per refresh,
// resizes coalesced into a frame of the last size, and polls that sleep
// only while the program would repeat itself.
#include "frame_pacing.h"

#include <gtest/gtest.h>

#include <vector>

#include "steady_polls.h"

namespace {

using kvr::FramePacing;
using kvr::PointerState;
using kvr::SteadyPolls;

constexpr double kRefresh = 1.0 / 60.0;

TEST(FramePacing, DrawsWhatIsOutOfDateAtMostOncePerRefresh) {
  FramePacing pacing(kRefresh);
  EXPECT_TRUE(pacing.due(0.0)) << "the first frame";
  pacing.drawn(0.0, false);
  EXPECT_FALSE(pacing.dirty());
  EXPECT_FALSE(pacing.due(1.0)) << "nothing changed, nothing to draw";
  EXPECT_EQ(pacing.wait_ms(1.0), -1) << "nothing to draw: sleep until an event";
  pacing.drawn(2.0, false);
  pacing.invalidate();  // a click, 5 ms after the last frame
  EXPECT_FALSE(pacing.due(2.005));
  EXPECT_EQ(pacing.wait_ms(2.005), 12);  // 11.7 ms, rounded up
  EXPECT_TRUE(pacing.due(2.0 + kRefresh));
  // A change long after the last frame is drawn at once.
  pacing.drawn(3.0, false);
  pacing.invalidate();
  EXPECT_TRUE(pacing.due(4.0));
  EXPECT_EQ(pacing.wait_ms(4.0), 1);
}

TEST(FramePacing, AnAnimationAsksForAFrameEveryRefreshUntilItEnds) {
  FramePacing pacing(kRefresh);
  pacing.drawn(0.0, true);
  EXPECT_TRUE(pacing.dirty());
  EXPECT_EQ(pacing.wait_ms(0.0), 17);
  EXPECT_TRUE(pacing.due(kRefresh));
  pacing.drawn(kRefresh, false);  // its last frame
  EXPECT_EQ(pacing.wait_ms(kRefresh), -1);
}

// A window dragged larger: size events every 2 ms for 100 ms. The window
// draws when a frame is due at the size it has then, and once more when
// the drag has stopped if the last size is not drawn yet.
TEST(FramePacing, ADragResizeDrawsOncePerRefreshAndEndsOnTheLastSize) {
  FramePacing pacing(kRefresh);
  pacing.drawn(0.0, false);
  int size = 800;
  std::vector<std::pair<double, int>> frames;
  auto poll_at = [&](double t) {
    if (pacing.due(t)) {
      frames.push_back({t, size});
      pacing.drawn(t, false);
    }
  };
  for (int i = 1; i <= 50; ++i) {
    double t = 0.002 * i;
    size = 800 + 4 * i;
    pacing.invalidate();
    poll_at(t);
  }
  // The drag stopped: the poll sleeps as told and draws when woken.
  double t = 0.1;
  int ms = pacing.wait_ms(t);
  ASSERT_GE(ms, 0) << "the last size is still to draw";
  poll_at(t + ms / 1000.0);
  ASSERT_FALSE(frames.empty());
  EXPECT_EQ(frames.back().second, 1000) << "the last size drawn";
  EXPECT_LE(frames.size(), 8u);
  for (std::size_t i = 1; i < frames.size(); ++i)
    EXPECT_GE(frames[i].first - frames[i - 1].first, kRefresh - 1e-9);
  EXPECT_FALSE(pacing.dirty());
  EXPECT_EQ(pacing.wait_ms(1.0), -1);
}

TEST(SteadyPolls, APollSleepsOnlyWhenTheProgramWouldRepeatItself) {
  SteadyPolls polls;
  std::vector<unsigned char> shown = {1, 2, 3};
  PointerState still{300, 300, 0};
  EXPECT_FALSE(polls.steady(still, shown)) << "the first poll hands out at once";
  polls.handed(still, shown);
  EXPECT_TRUE(polls.steady(still, shown)) << "same state, nothing changed: the program idles";
  EXPECT_FALSE(polls.steady({301, 300, 0}, shown)) << "the pointer moved";
  EXPECT_FALSE(polls.steady({300, 300, 1}, shown)) << "a press";
  std::vector<unsigned char> after_click = {1, 9, 3};
  EXPECT_FALSE(polls.steady(still, after_click)) << "the last frame changed what it shows";
  polls.handed(still, after_click);
  EXPECT_TRUE(polls.steady(still, after_click));
  // A held press: the wait for release polls the same state back to back.
  polls.handed({231, 92, 1}, after_click);
  EXPECT_TRUE(polls.steady({231, 92, 1}, after_click));
  polls.forget();
  EXPECT_FALSE(polls.steady({231, 92, 1}, after_click));
}

}  // namespace
