#include "kvr_test_double.h"

#include <cstring>
#include <deque>
#include <utility>

namespace kvr_double {
namespace {

struct PointerState {
  std::int32_t x;
  std::int32_t y;
  std::int32_t buttons;
};

struct State {
  std::deque<PointerState> pointer_queue;
  PointerState last{0, 0, 0};
  std::deque<std::int16_t> home_results;
  std::int16_t home_default = 0;
  int idle_poll_limit = 1000;
  int idle_polls = 0;
  int home_actions = 0;
  std::vector<std::string> actions;
  std::vector<Link> links;
  std::vector<std::string> calls;
  int mouse_calls = 0;
  int wrong_mode = 0;
  std::function<void(std::string_view)> observer;
  bool recording = true;
  const KvrHouse* house = nullptr;
  int house_calls = 0;
};

State& state() {
  static State instance;
  return instance;
}

void note(std::string call) {
  State& s = state();
  if (s.observer) s.observer(call);
  if (s.recording) s.calls.push_back(std::move(call));
}

}  // namespace

void reset() {
  state() = State{};
}

const KvrHouse* house() {
  return state().house;
}

int house_calls() {
  return state().house_calls;
}

void queue_pointer(std::int32_t x, std::int32_t y, std::int32_t buttons, int repeat) {
  for (int i = 0; i < repeat; ++i) state().pointer_queue.push_back({x, y, buttons});
}

void queue_click(std::int32_t x, std::int32_t y) {
  queue_pointer(x, y, 1);
  queue_pointer(x, y, 0);
}

std::size_t pending_pointer_states() {
  return state().pointer_queue.size();
}

void queue_home_results(std::initializer_list<std::int16_t> results) {
  for (std::int16_t r : results) state().home_results.push_back(r);
}

void set_home_result_default(std::int16_t result) {
  state().home_default = result;
}
void set_idle_poll_limit(int polls) {
  state().idle_poll_limit = polls;
}

const std::vector<std::string>& actions() {
  return state().actions;
}

std::vector<std::string> actions_without_home() {
  std::vector<std::string> result;
  for (const std::string& a : state().actions) {
    if (a != "HOME") result.push_back(a);
  }
  return result;
}

const std::vector<Link>& links() {
  return state().links;
}
const std::vector<std::string>& calls() {
  return state().calls;
}
int mouse_calls() {
  return state().mouse_calls;
}
int mouse_calls_with_wrong_mode() {
  return state().wrong_mode;
}

void set_observer(std::function<void(std::string_view)> observer) {
  state().observer = std::move(observer);
}

void set_recording(bool on) {
  state().recording = on;
}

}  // namespace kvr_double

using kvr_double::state;

extern "C" {

int32_t KvBegin(int32_t mode) {
  kvr_double::note("KvBegin(" + std::to_string(mode) + ")");
  return 0;
}

int32_t KvLoad(const char* scene_file) {
  kvr_double::note(std::string("KvLoad(") + scene_file + ")");
  return 0;
}

int32_t KvLink(const char* object, const char* variable, void* record) {
  kvr_double::note("KvLink");
  if (state().recording) state().links.push_back({object, variable, record});
  return 0;
}

int16_t KvExec(const char* action) {
  kvr_double::State& s = state();
  if (s.recording || s.observer) kvr_double::note(std::string("KvExec(") + action + ")");
  if (s.recording) s.actions.emplace_back(action);
  if (std::strcmp(action, "HOME") != 0) return 0;
  s.idle_polls = 0;
  if (++s.home_actions > 100000) {
    throw kvr_double::TooManyFrames("more than 100000 frames: the run never ends");
  }
  if (s.home_results.empty()) return s.home_default;
  const std::int16_t result = s.home_results.front();
  s.home_results.pop_front();
  return result;
}

int32_t KvMouse(int32_t mode, int32_t* x, int32_t* y, int32_t* buttons) {
  kvr_double::State& s = state();
  if (s.recording) {
    kvr_double::note("KvMouse");
    ++s.mouse_calls;
  }
  if (mode != -1) ++s.wrong_mode;
  if (!s.pointer_queue.empty()) {
    s.last = s.pointer_queue.front();
    s.pointer_queue.pop_front();
  } else {
    s.last.buttons = 0;
    if (++s.idle_polls > s.idle_poll_limit) {
      throw kvr_double::PointerQueueUsedUp("pointer queue used up inside a wait or modal view");
    }
  }
  *x = s.last.x;
  *y = s.last.y;
  *buttons = s.last.buttons;
  return 0;
}

int32_t KvEnd(void) {
  kvr_double::note("KvEnd");
  return 0;
}

// Not one of the six: kept apart from calls(), as the runtime keeps it out of its trace.
int32_t KvHouse(const KvrHouse* house) {
  kvr_double::State& s = kvr_double::state();
  s.house = house;
  ++s.house_calls;
  return 0;
}

}  // extern "C"
