#include "input/control_layout.h"

#include <iterator>

#include "input/pointer.h"
#include "startup/launch_code.h"

namespace maison {
namespace {

enum class Test : std::uint8_t { click_in, press_in };

// What a test's result does: stored in its flag, dropped (inert buttons,
// whose click is still waited out), or only a 1 is stored (quit).
enum class Outcome : std::uint8_t { store, drop, set_when_clicked };

struct Control {
  Test test;
  HitRegion region;
  Outcome outcome;
  std::uint8_t* flag;
};

constexpr std::uint8_t* panel_flag(Panel panel) {
  return &panel_button_clicked[index_of(panel)];
}

constexpr Control layout[] = {
    // test, {x1, y1, x2, y2}, outcome, flag
    {Test::click_in, {658, 568, 682, 590}, Outcome::store, &intro_clicked},
    {Test::click_in, {739, 568, 763, 590}, Outcome::drop, nullptr},
    {Test::press_in, {658, 20, 712, 65}, Outcome::store, &results_view_pressed},
    {Test::click_in, {180, 78, 282, 106}, Outcome::store, panel_flag(Panel::walls)},
    {Test::click_in, {180, 43, 282, 71}, Outcome::store, panel_flag(Panel::floor)},
    {Test::click_in, {180, 8, 282, 35}, Outcome::store, panel_flag(Panel::ceiling)},
    {Test::click_in, {290, 78, 392, 106}, Outcome::store, panel_flag(Panel::crawlspace)},
    {Test::click_in, {290, 43, 392, 71}, Outcome::store, panel_flag(Panel::windows)},
    {Test::click_in, {290, 8, 392, 35}, Outcome::store, panel_flag(Panel::ventilation)},
    {Test::click_in, {400, 78, 502, 106}, Outcome::store, panel_flag(Panel::temperature)},
    {Test::click_in, {400, 43, 502, 71}, Outcome::drop, nullptr},
    {Test::click_in, {400, 8, 502, 35}, Outcome::store, panel_flag(Panel::location)},
    {Test::click_in, {610, 498, 633, 520}, Outcome::store, &minus_clicked[0]},
    {Test::click_in, {610, 438, 633, 460}, Outcome::store, &minus_clicked[1]},
    {Test::click_in, {610, 378, 633, 400}, Outcome::store, &minus_clicked[2]},
    {Test::click_in, {610, 318, 633, 340}, Outcome::store, &minus_clicked[3]},
    {Test::click_in, {610, 258, 633, 280}, Outcome::store, &minus_clicked[4]},
    {Test::click_in, {610, 198, 633, 220}, Outcome::store, &minus_clicked[5]},
    {Test::click_in, {764, 498, 787, 520}, Outcome::store, &plus_clicked[0]},
    {Test::click_in, {764, 438, 787, 460}, Outcome::store, &plus_clicked[1]},
    {Test::click_in, {764, 378, 787, 400}, Outcome::store, &plus_clicked[2]},
    {Test::click_in, {764, 318, 787, 340}, Outcome::store, &plus_clicked[3]},
    {Test::click_in, {764, 258, 787, 280}, Outcome::store, &plus_clicked[4]},
    {Test::click_in, {764, 198, 787, 220}, Outcome::store, &plus_clicked[5]},
    {Test::click_in, {766, 568, 790, 590}, Outcome::set_when_clicked, &quit_requested},
};

static_assert(std::size(layout) == 25);

}  // namespace

void read_controls() {
  poll_pointer();
  for (const Control& control : layout) {
    const std::uint8_t hit =
        control.test == Test::click_in ? click_in(control.region) : press_in(control.region);
    switch (control.outcome) {
      case Outcome::store:
        *control.flag = hit;
        break;
      case Outcome::drop:
        break;
      case Outcome::set_when_clicked:
        if (hit == 1) *control.flag = 1;
        break;
    }
  }
}

}  // namespace maison
