// Drawing a frame by its changes: what update() damages, and that a frame
// drawn by its changes shows exactly what a whole new frame would.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "canvas.h"
#include "frame/scene_renderer.h"
#include "home_scene.h"
#include "layout/frame_tracker.h"
#include "reference.h"
#include "sample_records.h"
#include "small_scene.h"
#include "widgets/focus_navigator.h"

namespace {

using test::Canvas;
using test::Fixture;
namespace render = kvr::render;

// Cairo rounds a fill that a clip cuts a level or two apart from the same
// fill drawn whole; anything left over from an earlier frame differs by far
// more.
constexpr int kRounding = 6;

// The smallest rectangle holding all of them.
kvr::DeviceRect bounds(const std::vector<kvr::DeviceRect>& rects) {
  int x1 = 1 << 30, y1 = 1 << 30, x2 = -(1 << 30), y2 = -(1 << 30);
  for (const kvr::DeviceRect& r : rects) {
    x1 = std::min(x1, r.x);
    y1 = std::min(y1, r.y);
    x2 = std::max(x2, r.x + r.width);
    y2 = std::max(y2, r.y + r.height);
  }
  return rects.empty() ? kvr::DeviceRect{} : kvr::DeviceRect{x1, y1, x2 - x1, y2 - y1};
}

TEST(FrameUpdate, DrawsEverythingFirstAndNothingWhileNothingChanges) {
  Fixture f(R"([{"kind": "rect", "box": [0, 0, 100, 100], "fill": "$O.C"},
                {"kind": "text", "at": [300, 300], "text": "$O.T", "size": 30}])");
  f.records.text("O.T", "A");
  Canvas c(800, 600);
  EXPECT_EQ(c.update(f.renderer, f.view()), (std::vector<kvr::DeviceRect>{{0, 0, 800, 600}}));
  EXPECT_TRUE(c.update(f.renderer, f.view()).empty());
  // Bytes behind a text's length are not shown: no damage either.
  f.records.bytes("O.T")[5] = 'x';
  EXPECT_TRUE(c.update(f.renderer, f.view()).empty());
  // A new size or a lost target draws everything again.
  Canvas larger(1000, 700);
  EXPECT_EQ(larger.update(f.renderer, f.view()), (std::vector<kvr::DeviceRect>{{0, 0, 1000, 700}}));
  EXPECT_TRUE(larger.update(f.renderer, f.view()).empty());
  f.renderer.forget();
  EXPECT_EQ(larger.update(f.renderer, f.view()).size(), 1u);
  EXPECT_EQ(larger.update(f.renderer, f.view()).size(), 0u);
}

TEST(FrameUpdate, AChangedTextDamagesWhereItIsAndNothingElse) {
  Fixture f(R"([{"kind": "rect", "box": [0, 0, 100, 100], "fill": "#ff0000"},
                {"kind": "text", "at": [300, 300], "text": ["n = ", "$O.T"], "size": 20},
                {"kind": "text", "at": [600, 500], "text": "fixe", "size": 20}])");
  f.records.text("O.T", "12");
  Canvas c(800, 600), fresh(800, 600);
  c.update(f.renderer, f.view());
  f.records.text("O.T", "12345");
  std::vector<kvr::DeviceRect> damage = c.update(f.renderer, f.view());
  ASSERT_FALSE(damage.empty());
  fresh.draw(f.renderer, f.view());
  EXPECT_EQ(c.count_different(fresh, kRounding), 0) << "the damage missed part of the change";
  // The text's line (baseline at device y 300, about 20 px high, from x 300
  // to the end of the longer text), not the rectangle or the other text.
  kvr::DeviceRect all = bounds(damage);
  EXPECT_GE(all.x, 290);
  EXPECT_LE(all.x + all.width, 300 + 120);
  EXPECT_GE(all.y, 270);
  EXPECT_LE(all.y + all.height, 312);
  EXPECT_TRUE(c.update(f.renderer, f.view()).empty());
}

// Damaged rectangles are united only where that draws few more pixels: a
// table and the chart below it stay apart, however close, and too many
// rectangles give up the cheapest unions first, never all at once.
TEST(FrameUpdate, DamagedRectanglesAreUnitedOnlyWhereThatCostsLittle) {
  auto area = [](const std::vector<kvr::DeviceRect>& rects) {
    long long a = 0;
    for (const kvr::DeviceRect& r : rects) a += static_cast<long long>(r.width) * r.height;
    return a;
  };
  std::vector<kvr::DeviceRect> rects{{4, 44, 512, 182}, {8, 230, 248, 126}, {8, 360, 248, 126}};
  render::merge_rects(rects, render::FrameTracker::kMaxRects);
  // The two charts of one width, one above the other, become one; the
  // table above them stays apart.
  EXPECT_EQ(rects, (std::vector<kvr::DeviceRect>{{4, 44, 512, 182}, {8, 230, 248, 256}}));
  // One inside another, or two texts side by side on one line.
  rects = {{100, 100, 50, 20}, {110, 105, 10, 10}, {160, 100, 40, 20}};
  render::merge_rects(rects, render::FrameTracker::kMaxRects);
  EXPECT_EQ(rects, (std::vector<kvr::DeviceRect>{{100, 100, 100, 20}}));
  // A grid of small rectangles far apart, more than the limit: the result
  // keeps to the limit and covers far less than their bounding box.
  rects.clear();
  for (int i = 0; i < 20; ++i) rects.push_back({(i % 5) * 150, (i / 5) * 140, 20, 20});
  render::merge_rects(rects, 12);
  EXPECT_EQ(rects.size(), 12u);
  EXPECT_LT(area(rects), 740LL * 440 / 4);
  // Every pixel damaged before is still damaged.
  for (int i = 0; i < 20; ++i) {
    int x = (i % 5) * 150 + 10, y = (i / 5) * 140 + 10;
    bool held = false;
    for (const kvr::DeviceRect& r : rects)
      held = held || (x >= r.x && x < r.x + r.width && y >= r.y && y < r.y + r.height);
    EXPECT_TRUE(held) << x << ", " << y;
  }
}

// A table's cells are drawn again alone when their values change; a row
// lit or second lines shown redraw the table.
TEST(FrameUpdate, AChangedCellDamagesItsCellAlone) {
  // Rows as close as the shipped table's: 25 units for a size of 10.
  Fixture f(R"([{"kind": "table", "box": [100, 100, 500, 175], "columns": ["A", "B"],
                 "caption_width": 100, "second_line": {"visible": {"pinned": true}},
                 "rows": [{"caption": "un", "cells": ["$O.T", "fixe"], "second": [{"ref": "$O.T"}],
                           "highlight": {"on": "$O.S"}},
                          {"caption": "deux", "cells": ["a", "b"], "second": ["c", "d"]}]}])",
            R"(, "reference": {"object": "O"})");
  f.records.text("O.T", "12");
  Canvas c(800, 600), fresh(800, 600);
  c.update(f.renderer, f.view());
  auto same_as_whole = [&](const char* what) {
    fresh.draw(f.renderer, f.view());
    EXPECT_EQ(c.count_different(fresh, kRounding), 0) << what;
  };
  // The first row's first cell: layout x 200 to 350, y 125 to 150 (device
  // rows 450 to 475).
  auto in_first_cell = [](const kvr::DeviceRect& r, const char* what) {
    EXPECT_GE(r.x, 195) << what;
    EXPECT_LE(r.x + r.width, 355) << what;
    EXPECT_GE(r.y, 450 - 3) << what;
    EXPECT_LE(r.y + r.height, 475 + 1) << what << ": the row below is not its cell";
  };
  f.records.text("O.T", "12345");
  in_first_cell(bounds(c.update(f.renderer, f.view())), "a value changed");
  same_as_whole("a value changed");
  f.records.show("O.S", 1.0f);
  kvr::DeviceRect lit = bounds(c.update(f.renderer, f.view()));
  EXPECT_LE(lit.x, 100);
  EXPECT_GE(lit.x + lit.width, 500);
  same_as_whole("the row lit");
  f.pin();
  EXPECT_FALSE(c.update(f.renderer, f.view()).empty());
  same_as_whole("second lines shown");
  f.records.text("O.T", "7");
  in_first_cell(bounds(c.update(f.renderer, f.view())), "a value changed over its pinned line");
  same_as_whole("a value changed over its pinned line");
}

TEST(FrameUpdate, HiddenElementsAndTheLitButtonDamageOnlyWhatShows) {
  Fixture f(R"([{"kind": "rect", "box": [0, 0, 100, 100], "fill": "$O.C",
                 "visible": {"on": "$O.S"}},
                {"kind": "button", "box": [300, 100, 400, 150], "caption": "ok"},
                {"kind": "button", "box": [500, 100, 600, 150], "caption": "non"}])");
  Canvas c(800, 600), fresh(800, 600);
  c.update(f.renderer, f.view());
  f.records.colour("O.C", 0, 0, 255);
  EXPECT_TRUE(c.update(f.renderer, f.view()).empty()) << "a hidden element's colour changed";
  f.records.show("O.S", 1.0f);
  kvr::DeviceRect shown = bounds(c.update(f.renderer, f.view()));
  EXPECT_LE(shown.x + shown.width, 102);
  EXPECT_GE(shown.y, 498);
  // Hovering one button damages that button only, pressing it again.
  kvr::PointerLook over{350, 125, 0}, pressed{350, 125, 1};
  kvr::DeviceRect lit = bounds(c.update(f.renderer, f.view(), 1e9, over));
  EXPECT_GE(lit.x, 297);
  EXPECT_LE(lit.x + lit.width, 403);
  EXPECT_GE(lit.y, 447);
  EXPECT_LE(lit.y + lit.height, 503);
  EXPECT_FALSE(c.update(f.renderer, f.view(), 1e9, pressed).empty());
  fresh.draw(f.renderer, f.view(), 1e9, pressed);
  EXPECT_EQ(c.count_different(fresh, kRounding), 0);
  // The pointer moving inside the same button changes nothing.
  EXPECT_TRUE(c.update(f.renderer, f.view(), 1e9, {360, 130, 1}).empty());
}

// The setting (the leading groups kept to a layer region) is kept as a
// picture that frames drawn by their changes start from: brought up to
// date where the setting changed, made again at a new size, and brought
// up to date when the whole setting changed.
TEST(FrameUpdate, FramesStartFromAnUpToDatePictureOfTheSetting) {
  Fixture f(R"([{"kind": "group", "layer": [0, 0, 400, 600], "children": [
                   {"kind": "rect", "box": [0, 0, 400, 600], "fill": "#c8d8c0"},
                   {"kind": "rect", "box": [60, 120, 160, 220], "fill": "$O.C"},
                   {"kind": "rect", "box": [0, 0, 400, 600], "fill": "#10204080",
                    "visible": {"on": "$O.S"}},
                   {"kind": "polygon", "points": [[20, 20], [380, 60], [200, 580]],
                    "fill": "#336699c0"}]},
                {"kind": "rect", "box": [100, 100, 300, 200], "fill": "#ffffffc0"},
                {"kind": "text", "at": [120, 150], "text": "$O.T", "size": 20},
                {"kind": "text", "at": [120, 300], "text": "$O.T", "size": 20}])");
  f.records.text("O.T", "1");
  f.records.colour("O.C", 200, 0, 0);
  Canvas c(800, 600), fresh(800, 600);
  auto step = [&](Canvas& canvas, Canvas& whole, const char* what) {
    canvas.update(f.renderer, f.view());
    whole.draw(f.renderer, f.view());
    EXPECT_EQ(canvas.count_different(whole, kRounding), 0) << what;
  };
  // A text changed: the frame starts from the picture.
  auto text_step = [&](Canvas& canvas, Canvas& whole, const char* text, const char* what) {
    f.records.text("O.T", text);
    long before = f.renderer.frames_over_backdrop();
    step(canvas, whole, what);
    EXPECT_EQ(f.renderer.frames_over_backdrop(), before + 1) << what;
  };
  step(c, fresh, "first frame");
  text_step(c, fresh, "22", "a text over the setting");
  f.records.colour("O.C", 0, 160, 0);
  step(c, fresh, "the setting recoloured");
  text_step(c, fresh, "333", "a text over the recoloured setting");
  Canvas larger(1000, 700), larger_fresh(1000, 700);
  step(larger, larger_fresh, "a new size");
  text_step(larger, larger_fresh, "4", "a text at the new size");
  f.records.colour("O.C", 0, 0, 200);
  step(larger, larger_fresh, "the setting recoloured at the new size");
  text_step(larger, larger_fresh, "5", "a text over it");
  // The whole setting veiled: a large damage, then a small change.
  f.records.show("O.S", 1.0f);
  step(larger, larger_fresh, "the setting veiled");
  text_step(larger, larger_fresh, "55", "a text after the veil");
}

TEST(FrameUpdate, ASlideDamagesEachFrameUntilItEnds) {
  Fixture f(R"([{"kind": "group", "slide": {"anim": "a", "from": [300, 0]}, "children": [
                   {"kind": "rect", "box": [0, 0, 100, 100], "fill": "#ff0000"}]}])");
  Canvas c(800, 600), fresh(800, 600);
  c.update(f.renderer, f.view(), 10.0);
  f.state.play(f.scene, f.scene.find_action("go"), 10.0);
  for (double now : {10.0, 10.25, 10.5, 11.0}) {
    EXPECT_FALSE(c.update(f.renderer, f.view(), now).empty()) << now;
    fresh.draw(f.renderer, f.view(), now);
    EXPECT_EQ(c.count_different(fresh, kRounding), 0) << now;
  }
  EXPECT_TRUE(c.update(f.renderer, f.view(), 11.5).empty());
}

TEST(FrameUpdate, PinningAndClearingRedrawOnlyWhatShowsTheReference) {
  Fixture f(R"([{"kind": "text", "at": [100, 300], "text": "$O.T", "size": 20},
                {"kind": "text", "at": [400, 300], "text": {"ref": "$O.T"}, "size": 20},
                {"kind": "rect", "box": [600, 50, 700, 100], "fill": "#ff0000",
                 "visible": {"pinned": true}}])",
            R"(, "reference": {"object": "O"})");
  f.records.text("O.T", "41914");
  Canvas c(800, 600), fresh(800, 600);
  c.update(f.renderer, f.view());
  auto same_as_whole = [&] {
    fresh.draw(f.renderer, f.view());
    return c.count_different(fresh, kRounding);
  };
  // Pinning shows the pinned copy and the pinned-only rectangle; the
  // current value stays as it was drawn.
  f.pin();
  kvr::DeviceRect pinned = bounds(c.update(f.renderer, f.view()));
  EXPECT_EQ(same_as_whole(), 0) << "pinning left old pixels";
  EXPECT_GE(pinned.x, 380) << "the current value was drawn again";
  EXPECT_GE(pinned.x + pinned.width, 700);
  // Pinning the same values again changes nothing that shows.
  f.pin();
  EXPECT_TRUE(c.update(f.renderer, f.view()).empty());
  // A new current value redraws only itself: the pinned copy stays.
  f.records.text("O.T", "30026");
  kvr::DeviceRect changed = bounds(c.update(f.renderer, f.view()));
  EXPECT_LE(changed.x + changed.width, 300) << "the pinned copy was drawn again";
  EXPECT_EQ(same_as_whole(), 0);
  f.pin();
  kvr::DeviceRect repinned = bounds(c.update(f.renderer, f.view()));
  EXPECT_GE(repinned.x, 380);
  EXPECT_LE(repinned.x + repinned.width, 560);
  EXPECT_EQ(same_as_whole(), 0);
  f.reference.clear();
  EXPECT_FALSE(c.update(f.renderer, f.view()).empty());
  EXPECT_EQ(same_as_whole(), 0) << "clearing left the pinned copy or the rectangle";
}

TEST(FrameUpdate, TheFocusRingRedrawsTheButtonsItReachesAndLeaves) {
  Fixture f(R"([{"kind": "button", "box": [100, 100, 200, 150], "caption": "un", "focus": 1},
                {"kind": "button", "box": [300, 100, 400, 150], "caption": "deux", "focus": 2},
                {"kind": "button", "box": [500, 100, 600, 150], "caption": "trois"}])");
  Canvas c(1600, 1200), fresh(1600, 1200);  // two pixels a unit
  kvr::PointerLook look;
  c.update(f.renderer, f.view(), 1e9, look);
  auto step = [&](int order) {
    look.focus = {-1, order};
    std::vector<kvr::DeviceRect> damage = c.update(f.renderer, f.view(), 1e9, look);
    fresh.draw(f.renderer, f.view(), 1e9, look);
    EXPECT_EQ(c.count_different(fresh, kRounding), 0) << "the ring left old pixels at " << order;
    return bounds(damage);
  };
  // The ring reaches past the button's box; its damage holds it and stays
  // off the other buttons.
  kvr::DeviceRect first = step(1);
  EXPECT_LE(first.x, 196);
  EXPECT_GE(first.x + first.width, 404);
  EXPECT_LE(first.x + first.width, 440);
  kvr::DeviceRect moved = step(2);
  EXPECT_LE(moved.x, 196);
  EXPECT_GE(moved.x + moved.width, 804);
  EXPECT_LE(moved.x + moved.width, 840) << "a button without the ring was drawn again";
  EXPECT_TRUE(c.update(f.renderer, f.view(), 1e9, look).empty());
  kvr::DeviceRect hidden = step(-1);
  EXPECT_GE(hidden.x, 560);
}

// The shipped scene through the changes of a session: each frame drawn by
// its changes equals the same frame drawn whole, at the layout's size and
// at a larger, letterboxed one.
class ShippedScene : public ::testing::TestWithParam<std::pair<int, int>> {};

TEST_P(ShippedScene, FramesDrawnByChangesEqualWholeFrames) {
  test::Home home;
  auto& [scene, records, state, reference, renderer] = home;
  kvr::FrameView view = home.view();
  auto [w, h] = GetParam();
  Canvas c(w, h), fresh(w, h);
  double now = 100.0;
  kvr::PointerLook pointer{300, 300, 0};
  auto step = [&](const char* what) {
    std::vector<kvr::DeviceRect> damage = c.update(renderer, view, now, pointer);
    fresh.draw(renderer, view, now, pointer);
    EXPECT_EQ(c.count_different(fresh, kRounding), 0) << what;
    return damage;
  };
  auto play = [&](const char* action) { state.play(scene, scene.find_action(action), now); };
  play("INHOME");
  step("opening");
  play("HOME");
  step("first frame");
  EXPECT_TRUE(step("the same frame").empty());
  pointer = {231, 92, 0};
  EXPECT_FALSE(step("the pointer over the Walls button").empty());
  pointer.buttons = 1;
  step("the Walls button pressed");
  pointer = {775, 389, 0};
  records.open_panel("TALMUR", {"brique pleine", "0.105", "sans", "0.000", "sans", "0.000"});
  play("DECDROIT");
  for (int i = 0; i < 8; ++i) {
    now += 0.05;
    step("the panel sliding in");
  }
  records.text("HOME.A3", "laine de verre");
  records.text("FONDRES.KLASS", "D");
  records.colour("HOMURS.MURFOND", 120, 120, 120);
  records.colour("HOME.COLMUR", 10, 200, 30);
  EXPECT_FALSE(step("a click on row 3").empty());
  records.show("FONDRES.TALTAB", 1.0f);
  records.show("FONDRES.TALRESK", 1.0f);
  step("the results table and U view");
  records.text("FONDRES.B1", "0.34");
  step("a result changed");
  // A reference pinned, then a better house: second lines, the difference,
  // ghost bars in every chart, the hollow tag and the distance line.
  reference.pin(records.pointers());
  EXPECT_FALSE(step("a reference pinned").empty());
  for (const char* view_switch : {"FONDRES.TALRESD", "FONDRES.TALRESW", "FONDRES.TALRESAN"})
    records.show(view_switch, 1.0f);
  step("every result view");
  records.text("FONDRES.B1", "0.18");
  records.text("FONDRES.G1", "30026");
  records.text("FONDRES.KLASS", "E");
  EXPECT_FALSE(step("the house improved").empty());
  // The keyboard's ring over the controls it reaches, then a mouse press
  // hides it.
  render::FocusNavigator focus;
  for (int i = 0; i < 3; ++i) {
    focus.next(render::reachable_focusables(renderer.nodes(), view));
    pointer.focus = focus.mark(render::reachable_focusables(renderer.nodes(), view));
    EXPECT_FALSE(step("the ring moved").empty());
  }
  focus.previous(render::reachable_focusables(renderer.nodes(), view));
  focus.previous(render::reachable_focusables(renderer.nodes(), view));
  focus.previous(render::reachable_focusables(renderer.nodes(), view));
  pointer.focus = focus.mark(render::reachable_focusables(renderer.nodes(), view));
  step("the ring on the last controls");
  pointer.focus = {};
  step("the ring hidden");
  // The condensation card joins the views, which make room for it; the
  // palette for every eye colours the whole frame anew.
  kvr::HouseViews house;
  view.house_views = &house;
  house.shown = kvr::HouseViews::Shown::Moisture;
  EXPECT_FALSE(step("the condensation card").empty());
  house.palette = kvr::Palette::Cividis;
  EXPECT_FALSE(step("the palette for every eye").empty());
  house.palette = kvr::Palette::Standard;
  step("the scene's palette");
  house.shown = kvr::HouseViews::Shown::None;
  EXPECT_FALSE(step("the card closed").empty());
  reference.clear();
  EXPECT_FALSE(step("the reference cleared").empty());
  for (const char* view_switch : {"FONDRES.TALRESD", "FONDRES.TALRESW", "FONDRES.TALRESAN"})
    records.show(view_switch, 0.0f);
  step("back to one result view");
  records.show("HOME.TLTOISOL", 0.0f);
  records.show("HOME.TALCAM", 1.0f);
  play("CAMERA");
  for (int i = 0; i < 9; ++i) {
    now += 0.05;
    step("the camera view fading in");
  }
  house.palette = kvr::Palette::Cividis;
  step("the camera in the palette for every eye");
  play("BANDO");
  pointer = {100, 580, 0};
  step("the intro choice");
  play("USE");
  step("a page");
  play("DECDROIT");
  now += 1.0;
  step("back");
}

INSTANTIATE_TEST_SUITE_P(Sizes, ShippedScene,
                         ::testing::Values(std::pair{800, 600}, std::pair{1024, 700}),
                         [](const ::testing::TestParamInfo<std::pair<int, int>>& size) {
                           return std::to_string(size.param.first) + "x" +
                                  std::to_string(size.param.second);
                         });

}  // namespace
