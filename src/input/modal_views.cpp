#include "input/modal_views.h"

#include "input/control_layout.h"
#include "input/pointer.h"
#include "kvrrun.h"
#include "startup/launch_code.h"
#include "startup/scene_variables.h"

namespace maison {
namespace {

enum class IntroTest : std::uint8_t { press_in, second_press_outside };

struct IntroChoice {
  IntroTest test;
  HitRegion region;
  const char* action;
};

// The choice bar that "BANDO" shows. A press with button 2 anywhere outside
// the bar shows the setting alone.
constexpr IntroChoice intro_choices[] = {
    // test, {x1, y1, x2, y2}, action
    {IntroTest::press_in, {25, 568, 140, 590}, "USE"},
    {IntroTest::press_in, {160, 568, 325, 590}, "FONC"},
    {IntroTest::press_in, {340, 568, 460, 590}, "REM"},
    {IntroTest::second_press_outside, {25, 568, 630, 590}, "DECOR"},
};

struct ViewBox {
  HitRegion region;
  std::int16_t* toggle;
  std::int16_t toggle_value;
  std::int32_t* indicator;
  std::int32_t indicator_value;
};

// Six rows of an off box (x 526..546) and an on box (x 577..597), row by
// row, off before on.
constexpr ViewBox view_boxes[] = {
    // {x1, y1, x2, y2}, toggle, value, indicator, value
    {{526, 455, 546, 475}, &resk_toggle, 0, &colvis0, 3},
    {{577, 455, 597, 475}, &resk_toggle, 1, &colvis0, 4},
    {{526, 425, 546, 445}, &resd_toggle, 0, &colvis1, 3},
    {{577, 425, 597, 445}, &resd_toggle, 1, &colvis1, 4},
    {{526, 395, 546, 415}, &resw_toggle, 0, &colvis2, 3},
    {{577, 395, 597, 415}, &resw_toggle, 1, &colvis2, 4},
    {{526, 365, 546, 385}, &resan_toggle, 0, &colvis3, 3},
    {{577, 365, 597, 385}, &resan_toggle, 1, &colvis3, 4},
    {{526, 335, 546, 355}, &camera_toggle, 0, &colvis4, 3},
    {{577, 335, 597, 355}, &camera_toggle, 1, &colvis4, 4},
    {{526, 305, 546, 325}, &rest_toggle, 0, &colvis5, 3},
    {{577, 305, 597, 325}, &rest_toggle, 1, &colvis5, 4},
};

// Entered with no button down (the intro click was waited out). Ends on the
// first poll that finds a button down; only that poll can choose an action.
void run_intro_choice() {
  KvExec("BANDO");
  intro_action = "BANDO";
  while (pointer_buttons == 0) {
    poll_pointer();
    for (const IntroChoice& choice : intro_choices) {
      const std::uint8_t hit = choice.test == IntroTest::press_in
                                   ? press_in(choice.region)
                                   : second_press_outside(choice.region);
      if (hit == 1) intro_action = choice.action;
    }
  }
  wait_for_release();
  KvExec(intro_action);
  KvExec("DECDROIT");
}

// Entered with button 1 still down on the results-view button. A press of
// button 2 ends the view; it is not waited out, and one more "MENUVISU"
// follows the poll that reported it.
void run_results_view() {
  for (;;) {
    KvExec("MENUVISU");
    if (pointer_buttons == 2) return;
    poll_pointer();
    for (const ViewBox& box : view_boxes) {
      if (press_in(box.region) == 1) {
        *box.toggle = box.toggle_value;
        *box.indicator = box.indicator_value;
      }
    }
  }
}

}  // namespace

void run_modal_views() {
  if (launch_thousands == 0) quit_requested = 1;
  if (intro_clicked == 1) run_intro_choice();
  if (results_view_pressed == 1) run_results_view();
}

}  // namespace maison
