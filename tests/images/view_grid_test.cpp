// The result views of HOME.SP1 laid out side by side: whichever of them are
// shown, at whatever window size, none covers another, the energy label,
// the camera's walls, its legend or what is written on it, and the buttons
// they carry still answer where they are drawn.
#include "layout/view_grid.h"

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "canvas.h"
#include "home_scene.h"
#include "model/element_model.h"
#include "widgets/button_roles.h"

namespace {

using kvr::render::Box;
using kvr::render::Kind;
using kvr::render::Node;
using kvr::render::Placement;

// The first element named `id`, and the first drawn element of `kind` in it.
const Node* named(const std::vector<Node>& nodes, const std::string& id) {
  for (const Node& n : nodes) {
    if (n.id == id) return &n;
    if (const Node* inside = named(n.children, id)) return inside;
  }
  return nullptr;
}
const Node* first_of(const Node& n, Kind kind) {
  if (n.kind == kind) return &n;
  for (const Node& child : n.children)
    if (const Node* found = first_of(child, kind)) return found;
  return nullptr;
}
Box box_of(const Node& n) {
  return {n.x1, n.y1, n.x2, n.y2};
}

// Buttons of the runtime inside a view, with their boxes as the scene draws
// them.
void buttons_in(const Node& n, std::vector<const Node*>& out) {
  if (n.kind == Kind::Button) out.push_back(&n);
  for (const Node& child : n.children) buttons_in(child, out);
}

TEST(ResultViewGrid, NoViewCoversAnotherTheLabelOrTheCameraAtAnySizeForEveryChoiceOfViews) {
  test::Home home;
  const auto& grid = home.renderer.grid();
  ASSERT_TRUE(grid.present());
  const kvr::render::GridSpec& spec = grid.spec();
  const std::vector<Node>& nodes = home.renderer.nodes();
  // What must stay in view, taken from the elements that draw it.
  const Node* label = named(nodes, "class label");
  const Node* camera = named(nodes, "cut-open view");
  const Node* legend = named(nodes, "thermal legend");
  ASSERT_TRUE(label && camera && legend);
  Box label_box = box_of(*first_of(*label, Kind::Rect));
  Box legend_box = box_of(*first_of(*legend, Kind::GradientLegend));
  // The camera's back wall, its door and windows: the rect after the
  // background filled with the walls' colour.
  const Node* wall = nullptr;
  for (const Node& n : camera->children)
    if (n.kind == Kind::Rect && n.fill.var >= 0 && wall == nullptr) wall = &n;
  ASSERT_NE(wall, nullptr);
  Box wall_box = box_of(*wall);
  // The temperature written on each surface of the camera, and its title.
  std::vector<Box> readings;
  const Node* camera_readings = named(nodes, "camera readings");
  ASSERT_NE(camera_readings, nullptr);
  for (const Node& reading : camera_readings->children)
    readings.push_back(box_of(*first_of(reading, Kind::Rect)));
  ASSERT_EQ(readings.size(), 5u);
  for (const Node& n : camera->children)
    if (n.kind == Kind::Text) readings.push_back(n.ink);
  // The buttons the cards carry, by view.
  std::vector<std::vector<const Node*>> buttons(spec.views.size());
  std::vector<const Node*> views(spec.views.size());
  auto find_views = [&](auto&& self, const std::vector<Node>& list) -> void {
    for (const Node& n : list) {
      if (n.grid_view >= 0) {
        views[static_cast<std::size_t>(n.grid_view)] = &n;
        buttons_in(n, buttons[static_cast<std::size_t>(n.grid_view)]);
      }
      self(self, n.children);
    }
  };
  find_views(find_views, nodes);
  ASSERT_EQ(spec.views.size(), 8u);  // table, four charts, three cards of the house
  std::size_t carried = 0;
  for (const auto& b : buttons) carried += b.size();
  EXPECT_EQ(carried, 2u);  // the condensation card's − and +
  const auto hit = test::program_hit_rectangles();

  const std::array<std::pair<int, int>, 6> sizes = {
      {{800, 600}, {640, 480}, {1024, 768}, {1280, 720}, {1920, 1080}, {600, 900}}};
  const std::uint32_t every = (std::uint32_t{1} << spec.views.size()) - 1;
  for (auto [w, h] : sizes) {
    kvr::render::LayoutTransform t(w, h, home.scene.width, home.scene.height);
    Box room = kvr::render::grid_room(spec, t, home.scene.width, home.scene.height);
    // What the window shows of the layout, margins included.
    Box window{-t.x0 / t.scale, (t.y0 - h) / t.scale, (w - t.x0) / t.scale, t.y0 / t.scale};
    for (std::uint32_t shown = 1; shown <= every; ++shown) {
      std::vector<Placement> placed(spec.views.size());
      double scale = kvr::render::lay_out_views(spec, shown, room, placed.data());
      std::string which =
          std::to_string(w) + "x" + std::to_string(h) + ", views " + std::to_string(shown);
      ASSERT_GE(scale, spec.min_scale) << which;
      ASSERT_LE(scale, 1.0) << which;
      std::vector<Box> at;
      for (std::size_t i = 0; i < spec.views.size(); ++i) {
        if (((shown >> i) & 1U) == 0) continue;
        EXPECT_DOUBLE_EQ(placed[i].scale, scale) << which;
        Box b = placed[i].map(spec.views[i]);
        EXPECT_GE(b.x1, window.x1 - 1e-6) << which << ": view " << i << " leaves the window";
        EXPECT_LE(b.x2, window.x2 + 1e-6) << which << ": view " << i << " leaves the window";
        EXPECT_GE(b.y1, window.y1 - 1e-6) << which << ": view " << i << " leaves the window";
        EXPECT_LE(b.y2, window.y2 + 1e-6) << which << ": view " << i << " leaves the window";
        EXPECT_FALSE(b.meets(label_box)) << which << ": view " << i << " on the energy label";
        EXPECT_FALSE(b.meets(wall_box)) << which << ": view " << i << " on the camera's walls";
        EXPECT_FALSE(b.meets(legend_box)) << which << ": view " << i << " on the legend";
        for (const Box& reading : readings)
          EXPECT_FALSE(b.meets(reading)) << which << ": view " << i << " on a camera's text";
        for (std::size_t j = 0; j < at.size(); ++j)
          EXPECT_FALSE(b.meets(at[j])) << which << ": two views overlap";
        at.push_back(b);
        for (const Node* button : buttons[i]) {
          Box moved = placed[i].map(box_of(*button));
          for (const auto& r : hit) {
            Box rect{static_cast<double>(r[0]), static_cast<double>(r[1]),
                     static_cast<double>(r[2]), static_cast<double>(r[3])};
            EXPECT_FALSE(moved.meets(rect))
                << which << ": a button of view " << i << " on the program's rectangle at " << r[0]
                << "," << r[1];
          }
        }
      }
    }
  }
}

// The layout follows what the view shows and the window's size; a button
// of a placed card answers where it is drawn, and no longer where the scene
// drew it.
TEST(ResultViewGrid, PlacedButtonsAnswerWhereTheyAreDrawn) {
  test::Home home;
  kvr::HouseViews house;
  house.shown = kvr::HouseViews::Shown::Moisture;
  kvr::FrameView view = home.view();
  view.house_views = &house;
  home.records.show("FONDRES.TALTAB", 1.0f);
  home.records.show("FONDRES.TALRESK", 1.0f);
  test::Canvas small(800, 600), wide(1600, 600);
  small.draw(home.renderer, view);
  const Placement* placed = home.renderer.placements(view);
  ASSERT_NE(placed, nullptr);
  const Node* card = named(home.renderer.nodes(), "moisture");
  ASSERT_NE(card, nullptr);
  std::vector<const Node*> buttons;
  buttons_in(*card, buttons);
  ASSERT_EQ(buttons.size(), 2u);
  const Node& up = *buttons[1];
  ASSERT_EQ(up.action.command, kvr::Command::HumidityUp);
  auto middle = [](const Box& b) {
    return std::pair{static_cast<std::int32_t>((b.x1 + b.x2) / 2.0),
                     static_cast<std::int32_t>((b.y1 + b.y2) / 2.0)};
  };
  Placement at = placed[card->grid_view];
  auto [x, y] = middle(at.map(box_of(up)));
  const auto& nodes = home.renderer.nodes();
  kvr::render::ButtonAction there = kvr::render::action_at(nodes, view, x, y, placed);
  EXPECT_EQ(there.kind, kvr::render::ButtonAction::Kind::Command);
  EXPECT_EQ(there.command, kvr::Command::HumidityUp);
  auto [old_x, old_y] = middle(box_of(up));
  EXPECT_NE(kvr::render::action_at(nodes, view, old_x, old_y, placed).command,
            kvr::Command::HumidityUp)
      << "the + still answers where the scene drew it";
  // The pointer over the moved + lights it.
  EXPECT_EQ(home.renderer.look_key(view, {x, y, 0, {}}), up.button * 2);
  // Only the card shown: it moves up to the top-left of the area.
  home.records.show("FONDRES.TALTAB", 0.0f);
  home.records.show("FONDRES.TALRESK", 0.0f);
  Placement alone = home.renderer.placements(view)[card->grid_view];
  const auto& spec = home.renderer.grid().spec();
  Box card_at = alone.map(spec.views[static_cast<std::size_t>(card->grid_view)]);
  EXPECT_DOUBLE_EQ(alone.scale, 1.0);
  EXPECT_DOUBLE_EQ(card_at.x1, spec.area.x1);
  EXPECT_DOUBLE_EQ(card_at.y2, spec.area.y2);
  // A wider window: the card takes the margin beside the layout.
  wide.draw(home.renderer, view);
  Box wide_at = home.renderer.placements(view)[card->grid_view].map(
      spec.views[static_cast<std::size_t>(card->grid_view)]);
  EXPECT_LT(wide_at.x1, 0.0);
}

}  // namespace
