#include "runtime.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>

#include "scene_source.h"

namespace kvr {

namespace {

bool is_home(const char* action) {
  return std::strcmp(action, "HOME") == 0;
}

}  // namespace

Runtime::Runtime(BackendFactories factories, std::ostream& errors)
    : factories_(factories), errors_(errors) {
  bindings_.reset(nullptr);
}

Runtime::~Runtime() {
  if (backend_) backend_->close();
  trace_.flush();
}

void Runtime::start_recording() {
  if (settings_.record.empty()) return;
  // A replay that would record over the script it reads is left alone.
  if (headless_ && settings_.record == settings_.input) {
    errors_ << settings_.record << ": the pointer script is replayed, not recorded again\n";
    return;
  }
  // The program leaves for the parent folder before KvEnd (its hand-over):
  // the file is named now, from the folder the run started in.
  std::error_code ec;
  std::filesystem::path where = std::filesystem::absolute(settings_.record, ec);
  recorder_.start(ec ? settings_.record : where.string());
  char stamp[64];
  std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  std::strftime(stamp, sizeof stamp, "%Y-%m-%d %H:%M:%S %z", &local);
  recorder_.note("recorded", stamp);
  std::string command = process_command_line();
  if (!command.empty()) {
    recorder_.note("command line", command);
    recorder_.note("replay", "in the same folder, KVR_BACKEND=headless KVR_INPUT=" +
                                 settings_.record + " " + command);
  }
  recorder_.note("settings", settings_.file + (headless_ ? ", headless" : ", window"));
}

void Runtime::note_backend_end() {
  if (backend_end_seen_ || !backend_ || !backend_->wants_end()) return;
  backend_end_seen_ = true;
  if (recorder_.active()) recorder_.write(false, errors_);
}

void Runtime::write_recording() {
  if (!recorder_.active()) return;
  bool ended_by_backend = backend_ && backend_->wants_end();
  recorder_.write(!ended_by_backend, errors_);
}

void Runtime::begin(std::int32_t arg, const std::string& settings_path) {
  settings_ = load_settings(settings_path, errors_);
  if (!settings_.trace.empty()) trace_.open(settings_.trace, errors_);
  trace_.begin(arg);

  if (settings_.backend == Settings::Backend::Window) {
    if (factories_.window == nullptr) {
      errors_ << "KvrRun: this build has no window backend; running headless\n";
    } else {
      backend_ = factories_.window();
      headless_ = false;
      backend_->set_reference(&reference_);
      // Whoever follows the trace (tail -f) sees each frame before the
      // window waits for the next input; the headless backend never waits,
      // so its runs keep the whole buffer.
      backend_->set_before_wait([this] { trace_.flush(); });
      if (!backend_->open(settings_)) {
        errors_ << "KvrRun: the window cannot be opened; running headless\n";
        backend_.reset();
        headless_ = true;
      }
    }
  }
  if (!backend_) {
    backend_ = factories_.headless();
    headless_ = true;
    backend_->set_reference(&reference_);
    // A test run must not pass on input it did not understand.
    if (!backend_->open(settings_)) exit_now(2);
  }
  start_recording();
}

void Runtime::load(const char* scene_file) {
  std::string file = scene_file ? scene_file : "";
  if (load_called_) {
    errors_ << "KvrRun: KvLoad(" << file
            << ") after a scene was already loaded: the scene and its bindings are replaced\n";
  }
  load_called_ = true;
  SceneLoadResult result = load_scene_from_source(file);
  scene_ = std::move(result.scene);
  load_failed_ = !scene_.has_value();
  if (load_failed_) errors_ << result.error << '\n';
  trace_.load(file, !load_failed_, result.error);
  if (scene_) {
    state_.reset(*scene_);
  } else {
    state_ = SceneState{};
  }
  bindings_.reset(scene_ ? &*scene_ : nullptr);
  reference_.configure(scene_ ? &*scene_ : nullptr);
  reported_actions_.clear();
  if (recorder_.active()) recorder_.note("scene", file);
}

void Runtime::link(const char* object, const char* variable, void* record) {
  const Binding& binding = bindings_.link(object, variable, record);
  if (binding.declared < 0) {
    if (!load_called_) {
      errors_ << "KvrRun: KvLink(" << binding.object << ", " << binding.variable
              << ") before KvLoad: the binding is kept but never read\n";
    } else if (scene_ && record == nullptr) {
      errors_ << "KvrRun: KvLink(" << binding.object << ", " << binding.variable
              << ") with a null record: never read\n";
    } else if (scene_) {
      errors_ << "KvrRun: KvLink(" << binding.object << ", " << binding.variable
              << "): " << scene_->file << " declares no variable " << binding.variable
              << " in object " << binding.object << "; the binding is kept but never read\n";
    }
  }
  trace_.link(binding);
}

void Runtime::set_house(const KvrHouse* view) {
  if (view == nullptr || view->version != KVR_HOUSE_VERSION || view->size < sizeof(KvrHouse) ||
      view->state == nullptr || view->physics == nullptr ||
      view->physics->version != KVR_HOUSE_VERSION ||
      view->physics->size < sizeof(KvrHousePhysics)) {
    errors_ << "KvrRun: KvHouse with a view this runtime does not know; ignored\n";
    return;
  }
  house_ = view;
  reference_.follow_house(view->state);
}

FrameView Runtime::view() const {
  FrameView v;
  v.scene = scene_ ? &*scene_ : nullptr;
  v.state = &state_;
  v.records = &bindings_.variable_records();
  v.reference = &reference_;
  v.house = house_;
  return v;
}

std::int16_t Runtime::exec(const char* action) {
  if (action == nullptr) action = "";
  int index = -1;
  if (scene_) {
    index = scene_->find_action(action);
    if (index < 0 && std::find(reported_actions_.begin(), reported_actions_.end(), action) ==
                         reported_actions_.end()) {
      reported_actions_.emplace_back(action);
      errors_ << "KvrRun: " << scene_->file << " declares no action \"" << action
              << "\"; played as nothing\n";
    }
    if (index >= 0) state_.play(*scene_, index, backend_->now());
  }
  bool full = settings_.trace_states == Settings::TraceStates::Full;
  // Showing an action leaves the program's records as they are, and only
  // "HOME" answers anything but 0: any other action's line is written
  // before it is shown, so that a page the window holds until a click is
  // in the trace while it is on screen.
  if (!is_home(action)) {
    trace_.exec(action, polls_, 0, bindings_, full);
    polls_ = 0;
    backend_->show(view(), index, action);
    note_backend_end();
    return 0;
  }
  backend_->show(view(), index, action);
  note_backend_end();
  stalled_polls_ = 0;
  std::int16_t result = load_failed_ || backend_->wants_end() ? 1 : 0;
  trace_.exec(action, polls_, result, bindings_, full);
  polls_ = 0;
  return result;
}

void Runtime::mouse(std::int32_t* x, std::int32_t* y, std::int32_t* buttons) {
  ++polls_;
  bool ended = backend_->wants_end();
  std::int32_t px = 0, py = 0, pb = 0;
  backend_->poll(&px, &py, &pb);
  if (x) *x = px;
  if (y) *y = py;
  if (buttons) *buttons = pb;
  recorder_.add(px, py, pb);
  note_backend_end();
  if (ended && ++stalled_polls_ >= stalled_poll_limit) {
    if (headless_) {
      errors_ << (settings_.input.empty() ? "(no pointer script)" : settings_.input)
              << ": pointer script ended inside a wait or modal view\n";
    } else {
      errors_ << "KvrRun: the window was closed inside a wait or modal view\n";
    }
    exit_now(3);
  }
}

void Runtime::end() {
  write_recording();
  trace_.end();
  trace_.close();
  if (backend_) backend_->close();
  backend_.reset();
}

void Runtime::exit_now(int status) {
  trace_.flush();
  write_recording();
  if (backend_) backend_->close();
  errors_.flush();
  std::exit(status);
}

}  // namespace kvr
