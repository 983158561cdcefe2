// A test double of the scene runtime's six operations, so that the program
// can be driven frame by frame without a screen.
//
// KvMouse replays queued pointer states, one per call. Once the queue is
// used up it reports the last position with no button down, like an idle
// user. A program that keeps polling without playing "HOME" (it is stuck in
// a wait or a modal view that only input can end) gets a PointerQueueUsedUp
// exception from KvMouse after idle_poll_limit such polls, so a test never
// hangs. KvExec records every action and returns the queued "HOME" results,
// then home_result_default; a run that never ends (more than 100000 "HOME"
// actions) gets a TooManyFrames exception.
#ifndef KVR_TEST_DOUBLE_H
#define KVR_TEST_DOUBLE_H

#include <cstdint>
#include <functional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "kvrrun.h"

namespace kvr_double {

struct PointerQueueUsedUp : std::runtime_error {
  using std::runtime_error::runtime_error;
};

struct TooManyFrames : std::runtime_error {
  using std::runtime_error::runtime_error;
};

struct Link {
  std::string object;
  std::string variable;
  void* record;
};

// Forgets everything: queues, records, counters, settings.
void reset();

void queue_pointer(std::int32_t x, std::int32_t y, std::int32_t buttons, int repeat = 1);
// A press of button 1 at (x, y), then its release there.
void queue_click(std::int32_t x, std::int32_t y);
std::size_t pending_pointer_states();

// Results of the next KvExec("HOME") calls, in order; afterwards home_result_default.
void queue_home_results(std::initializer_list<std::int16_t> results);
void set_home_result_default(std::int16_t result);
void set_idle_poll_limit(int polls);

// Every action played, in order.
const std::vector<std::string>& actions();
// The actions other than "HOME".
std::vector<std::string> actions_without_home();
const std::vector<Link>& links();
// Every operation, in order: "KvBegin(0)", "KvLoad(HOME.SP1)", "KvLink", "KvExec(NAME)",
// "KvMouse", "KvEnd".
const std::vector<std::string>& calls();
int mouse_calls();
// KvMouse calls whose first argument was not -1.
int mouse_calls_with_wrong_mode();

// The view KvHouse handed over last (nullptr before any), and how many
// times it was called. KvHouse is not one of the six: it is not in calls().
const KvrHouse* house();
int house_calls();

// Called at the start of every operation with its entry of calls().
void set_observer(std::function<void(std::string_view call)> observer);

// Off: nothing is recorded (no allocation), for measuring the program alone.
void set_recording(bool on);

}  // namespace kvr_double

#endif
