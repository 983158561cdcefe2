#include "program_test.h"

#include "startup/frame_loop.h"
#include "startup/initial_values.h"
#include "startup/launch_code.h"
#include "startup/scene_bindings.h"

namespace maison::testing {
namespace {

constexpr int menu_button[panel_count][2] = {{231, 92}, {231, 57}, {231, 21}, {341, 92},
                                             {341, 57}, {341, 21}, {451, 92}, {451, 21}};

}  // namespace

void start_running() {
  decode_launch_code(1000);
  bind_scene_variables();
  set_initial_values();
}

std::string text(const LinkedText& field) {
  return std::string(field.characters, field.length);
}

Texts texts(std::initializer_list<const LinkedText*> fields) {
  Texts result;
  for (const LinkedText* field : fields) result.push_back(text(*field));
  return result;
}

void click_frame(int x, int y) {
  kvr_double::queue_click(x, y);
  run_frame();
}

void open_panel(Panel panel) {
  click_frame(menu_button[index_of(panel)][0], menu_button[index_of(panel)][1]);
}

void click_arrow(int row, bool plus, int times) {
  for (int i = 0; i < times; ++i) click_frame(plus ? 775 : 621, 509 - 60 * (row - 1));
}

}  // namespace maison::testing
