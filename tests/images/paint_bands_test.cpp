// Large redraws painted in two bands by two threads: where the seam goes,
// how the damage is shared out, the helper thread's hand-over, and that a
// session painted in bands shows what one thread paints.
#include "paint_bands.h"

#include <gtest/gtest.h>
#include <sched.h>

#include <atomic>
#include <chrono>
#include <thread>
#include <utility>
#include <vector>

#include "canvas.h"
#include "home_scene.h"
#include "paint_helper.h"
#include "reference.h"
#include "sample_records.h"
#include "scene_renderer.h"

namespace {

using kvr::DeviceRect;
namespace render = kvr::render;

auto no_text = [](int) { return false; };

TEST(PaintBands, TheSeamSharesOutTheDamagedArea) {
  std::vector<DeviceRect> whole{{0, 0, 800, 600}};
  EXPECT_EQ(render::seam_row(whole, 0.5, no_text), 300);
  EXPECT_EQ(render::seam_row(whole, 0.25, no_text), 150);
  EXPECT_NEAR(render::area_share(whole, 150), 0.25, 1e-12);
  // Two rectangles: the wide one at the top holds most of the area, so
  // half of it is reached well above the middle of the rows.
  std::vector<DeviceRect> two{{0, 0, 800, 300}, {0, 300, 200, 300}};
  int seam = render::seam_row(two, 0.5, no_text).value();
  EXPECT_EQ(seam, 188);  // the first row past 800 * 187.5 = half of 300,000
  EXPECT_NEAR(render::area_share(two, seam), 0.5, 0.01);
  // Too little damage to be worth a second thread, or a single row.
  EXPECT_FALSE(render::seam_row({{0, 0, 100, 100}}, 0.5, no_text));
  EXPECT_FALSE(render::seam_row({{0, 10, 200000, 1}}, 0.5, no_text));
  EXPECT_FALSE(render::seam_row({}, 0.5, no_text));
}

TEST(PaintBands, TheSeamNeverRunsThroughAText) {
  std::vector<DeviceRect> whole{{0, 0, 800, 600}};
  // A text over rows 250 to 339: of its two edges (a seam there cuts
  // nothing), row 340 lies nearer to 300.
  auto text = [](int row) { return row > 250 && row < 340; };
  EXPECT_EQ(render::seam_row(whole, 0.5, text), 340);
  auto lower = [](int row) { return row > 280 && row < 330; };
  EXPECT_EQ(render::seam_row(whole, 0.5, lower), 280);
  // Texts everywhere within a quarter of the height: one thread paints.
  auto everywhere = [](int row) { return row > 140 && row < 460; };
  EXPECT_FALSE(render::seam_row(whole, 0.5, everywhere));
}

TEST(PaintBands, EachBandGetsItsRowsOfTheDamage) {
  std::vector<DeviceRect> damage{{10, 0, 100, 50}, {200, 40, 30, 100}, {0, 500, 5, 5}};
  std::vector<DeviceRect> top, bottom;
  render::rows_of(damage, 0, 45, top);
  render::rows_of(damage, 45, 600, bottom);
  EXPECT_EQ(top, (std::vector<DeviceRect>{{10, 0, 100, 45}, {200, 40, 30, 5}}));
  EXPECT_EQ(bottom, (std::vector<DeviceRect>{{10, 45, 100, 5}, {200, 45, 30, 95}, {0, 500, 5, 5}}));
}

TEST(PaintBands, TheNextShareMovesTowardsEqualTimes) {
  // Equal times: the share stays.
  EXPECT_DOUBLE_EQ(render::next_share(0.5, 1.0, 1.0), 0.5);
  // The bottom band took three times as long for the same area: balance
  // would give the top three quarters; halfway there is 0.625.
  EXPECT_DOUBLE_EQ(render::next_share(0.5, 1.0, 3.0), 0.625);
  // Repeated, it settles where both bands would take as long.
  double share = 0.5;
  for (int i = 0; i < 40; ++i) {
    // Work lies four times as densely in the top rows as in the bottom.
    double top = 4.0 * share, bottom = 1.0 * (1.0 - share);
    share = render::next_share(share, top, bottom);
  }
  EXPECT_NEAR(share, 0.2, 1e-6);
  // Never beyond 0.15 .. 0.85, and without times (a clock that did not
  // move) the share is kept.
  EXPECT_NEAR(render::next_share(0.5, 100.0, 0.001), 0.25, 1e-4);
  EXPECT_DOUBLE_EQ(render::next_share(0.2, 100.0, 0.001), 0.15);
  EXPECT_DOUBLE_EQ(render::next_share(0.8, 0.001, 100.0), 0.85);
  EXPECT_DOUBLE_EQ(render::next_share(0.4, 0.0, 2.0), 0.4);
}

TEST(PaintBands, BandsPayOffOnlyWhenTheyRanAtOnce) {
  // Both bands at once: the frame took about as long as the longer one.
  EXPECT_TRUE(render::bands_paid_off(1.1, 1.0, 1.0));
  EXPECT_TRUE(render::bands_paid_off(1.6, 1.0, 1.0));
  // Taking turns on one core: as long as both together.
  EXPECT_FALSE(render::bands_paid_off(2.0, 1.0, 1.0));
  EXPECT_FALSE(render::bands_paid_off(1.8, 1.0, 1.0));
  // No processor time measured (a coarse clock): no verdict against them.
  EXPECT_TRUE(render::bands_paid_off(1.0, 0.0, 0.0));
}

TEST(PaintBands, OnlyARunOfFramesThatDidNotPayOffLeavesBandsForAWhile) {
  using Clock = render::BandVerdict::Clock;
  using render::BandOutcome;
  Clock::time_point t0 = Clock::now();
  // Slow frames between ones that paid off (a first frame at a new size)
  // never add up to a verdict against bands.
  {
    render::BandVerdict verdict;
    for (int round = 0; round < 2; ++round) {
      for (int k = 1; k < render::kBandStrikes; ++k) verdict.record(BandOutcome::TookTurns, t0);
      for (int k = 1; k < render::kLateStrikes; ++k) verdict.record(BandOutcome::HelperLate, t0);
      verdict.record(BandOutcome::PaidOff, t0);
    }
    EXPECT_TRUE(verdict.allows(t0));
  }
  // Bands that took turns: kBandStrikes frames; a late helper: kLateStrikes.
  for (auto [outcome, strikes] : {std::pair{BandOutcome::TookTurns, render::kBandStrikes},
                                  std::pair{BandOutcome::HelperLate, render::kLateStrikes}}) {
    render::BandVerdict verdict;
    for (int k = 1; k < strikes; ++k) verdict.record(outcome, t0);
    EXPECT_TRUE(verdict.allows(t0)) << strikes;
    verdict.record(outcome, t0);
    EXPECT_FALSE(verdict.allows(t0)) << strikes;
    EXPECT_FALSE(verdict.allows(t0 + render::kBandRetry - std::chrono::milliseconds(1)));
    Clock::time_point later = t0 + render::kBandRetry;
    EXPECT_TRUE(verdict.allows(later));
    // Tried again: the count of slow frames starts from nothing.
    for (int k = 1; k < strikes; ++k) verdict.record(outcome, later);
    EXPECT_TRUE(verdict.allows(later)) << strikes;
  }
}

TEST(PaintHelper, IsWorthwhileOnlyWithTwoCoresToRunOn) {
  cpu_set_t allowed;
  CPU_ZERO(&allowed);
  ASSERT_EQ(sched_getaffinity(0, sizeof allowed, &allowed), 0);
  if (CPU_COUNT(&allowed) < 2) GTEST_SKIP() << "this process may run on one core only";
  EXPECT_TRUE(render::PaintHelper::worthwhile());
  // Held to one core (as under taskset -c N), though the machine has more.
  cpu_set_t one;
  CPU_ZERO(&one);
  for (std::size_t c = 0; c < CPU_SETSIZE; ++c) {
    if (CPU_ISSET(c, &allowed)) {
      CPU_SET(c, &one);
      break;
    }
  }
  ASSERT_EQ(sched_setaffinity(0, sizeof one, &one), 0);
  bool held = render::PaintHelper::worthwhile();
  ASSERT_EQ(sched_setaffinity(0, sizeof allowed, &allowed), 0);
  EXPECT_FALSE(held);
}

TEST(PaintHelper, RunsBothPartsOnceAndReturnsWhenBothEnded) {
  render::PaintHelper helper;
  std::atomic<int> theirs_runs{0};
  int ours_runs = 0;
  for (int i = 0; i < 2000; ++i) {
    // Ours ends at once: theirs runs on the helper or, taken back before
    // the helper began it, here; never twice, never not at all.
    std::thread::id ran_on;
    auto theirs = [&] {
      ran_on = std::this_thread::get_id();
      ++theirs_runs;
    };
    bool helped = helper.together(theirs, [&] { ++ours_runs; });
    ASSERT_EQ(theirs_runs.load(), i + 1) << "together() returned before the helper's part ended";
    // It tells truly which thread ran theirs.
    ASSERT_EQ(helped, ran_on != std::this_thread::get_id()) << "round " << i;
  }
  EXPECT_EQ(ours_runs, 2000);
}

TEST(PaintHelper, TheHelperRunsTheirsWhileOursIsStillRunning) {
  render::PaintHelper helper;
  std::thread::id caller = std::this_thread::get_id();
  for (int i = 0; i < 20; ++i) {
    std::atomic<bool> ran{false};
    std::thread::id ran_on;
    auto theirs = [&] {
      ran_on = std::this_thread::get_id();
      ran = true;
    };
    // Ours waits (up to far longer than any wake-up) for theirs to have run.
    bool helped = helper.together(theirs, [&] {
      auto until = std::chrono::steady_clock::now() + std::chrono::seconds(10);
      while (!ran && std::chrono::steady_clock::now() < until) std::this_thread::yield();
    });
    ASSERT_TRUE(ran.load());
    EXPECT_TRUE(helped) << "round " << i;
    EXPECT_NE(ran_on, caller) << "round " << i;
  }
}

// The shipped scene through a session, painted by a renderer that uses
// two threads and by one that does not: the same pixels in every frame, but
// for Cairo's rounding. A fill whose edge row is partly covered is
// composited a level or two apart when it meets two rectangles of the
// clip rather than one, as it can where the seam cuts a damaged rectangle
// in two, or where the picture of the setting was drawn under another clip
// than the frame. An element missing from a band, or painted twice,
// differs by far more.
TEST(PaintBands, TheShippedSceneLooksTheSameInBands) {
  constexpr int kRounding = 3;
  if (!render::PaintHelper::worthwhile()) GTEST_SKIP() << "one core: never painted in bands";
  test::Home home;
  auto& [scene, records, state, reference, banded] = home;
  kvr::FrameView view = home.view();
  kvr::SceneRenderer single(scene);
  // Always: a frame in which bands did not pay off (a busy machine, the
  // sanitizers) would leave the next ones to one thread.
  banded.paint_in_bands(kvr::SceneRenderer::Bands::Always);
  single.paint_in_bands(kvr::SceneRenderer::Bands::Never);
  double now = 100.0;
  kvr::PointerLook pointer{231, 92, 0};
  for (auto [w, h] : {std::pair{800, 600}, std::pair{1920, 1080}, std::pair{1023, 701}}) {
    test::Canvas a(w, h), b(w, h);
    auto step = [&](const char* what) {
      a.update(banded, view, now, pointer);
      b.update(single, view, now, pointer);
      EXPECT_EQ(a.count_different(b, kRounding), 0) << what << " at " << w << " x " << h;
    };
    state.reset(scene);
    records.startup_house();
    reference.clear();
    state.play(scene, scene.find_action("HOME"), now);
    step("the start screen");
    records.open_panel("TALMUR", {"brique pleine", "0.105", "sans", "0.000", "sans", "0.000"});
    state.play(scene, scene.find_action("DECDROIT"), now);
    now += 1.0;
    step("the Walls panel");
    records.colour("HOMURS.MURFOND", 120, 120, 120);
    records.colour("HOME.COLMUR", 10, 200, 30);
    step("the walls recoloured");
    for (const char* view_switch : {"FONDRES.TALTAB", "FONDRES.TALRESK", "FONDRES.TALRESD",
                                    "FONDRES.TALRESW", "FONDRES.TALRESAN"})
      records.show(view_switch, 1.0f);
    step("every result view");
    reference.pin(records.pointers());
    records.text("FONDRES.B1", "0.18");
    records.text("FONDRES.G1", "30026");
    step("a reference pinned and the house improved");
    // The camera view on its own, as a new window shows it: texts run
    // through every row near its middle, so one thread paints it.
    state.reset(scene);
    records.startup_house();
    reference.clear();
    state.play(scene, scene.find_action("HOME"), now);
    records.show("HOME.TLTOISOL", 0.0f);
    records.show("HOME.TALCAM", 1.0f);
    records.show("HOME.TALREST", 1.0f);
    banded.forget();
    single.forget();
    long before_camera = banded.frames_in_bands();
    step("the camera view");
    EXPECT_EQ(banded.frames_in_bands(), before_camera) << "the camera view at " << w << " x " << h;
  }
  EXPECT_GT(banded.frames_in_bands(), 5);
  EXPECT_EQ(single.frames_in_bands(), 0);
}

}  // namespace
