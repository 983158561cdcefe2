// The runtime behind the six operations: settings, scene, bindings, scene
// state, trace and the backend, and the rules on the order of calls.
#ifndef KVR_CORE_RUNTIME_H
#define KVR_CORE_RUNTIME_H

#include <cstdint>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "backend.h"
#include "bindings.h"
#include "kvrhouse.h"
#include "pointer_recorder.h"
#include "reference.h"
#include "scene.h"
#include "settings.h"
#include "trace.h"

namespace kvr {

// How the runtime makes its backends; the shared library passes the ones it
// was built with (no window factory in a build without the window).
struct BackendFactories {
  std::unique_ptr<Backend> (*headless)() = nullptr;
  std::unique_ptr<Backend> (*window)() = nullptr;
};

// After the pointer script is used up (or the window closed), this many
// polls without a "HOME" action mean the program is stuck in a loop that
// only input can end.
inline constexpr std::uint32_t stalled_poll_limit = 10'000;

class Runtime {
 public:
  Runtime(BackendFactories factories, std::ostream& errors);
  ~Runtime();
  Runtime(const Runtime&) = delete;
  Runtime& operator=(const Runtime&) = delete;

  // Reads the settings at `settings_path`, opens the trace and the backend.
  // Ends the process with status 2 when the backend cannot run on its input.
  void begin(std::int32_t arg, const std::string& settings_path);
  void load(const char* scene_file);
  void link(const char* object, const char* variable, void* record);
  std::int16_t exec(const char* action);
  void mouse(std::int32_t* x, std::int32_t* y, std::int32_t* buttons);
  void end();
  // The program's house (KvHouse); kept only when its version is known.
  void set_house(const KvrHouse* view);

  const Settings& settings() const { return settings_; }
  // nullptr until the program hands over its house.
  const KvrHouse* house() const { return house_; }
  const Reference& reference() const { return reference_; }

 private:
  [[noreturn]] void exit_now(int status);
  FrameView view() const;
  void start_recording();
  // Writes the recording when the backend has just come to its end (window
  // closed, Escape), so that it is on disk even if the run never reaches
  // KvEnd.
  void note_backend_end();
  void write_recording();

  BackendFactories factories_;
  std::ostream& errors_;
  Settings settings_;
  std::unique_ptr<Backend> backend_;
  bool headless_ = true;
  TraceWriter trace_;
  std::optional<Scene> scene_;
  bool load_called_ = false;
  bool load_failed_ = false;
  SceneState state_;
  BindingTable bindings_;
  Reference reference_;
  const KvrHouse* house_ = nullptr;
  PointerRecorder recorder_;
  bool backend_end_seen_ = false;
  std::vector<std::string> reported_actions_;
  std::uint64_t polls_ = 0;          // KvMouse calls since the last exec line
  std::uint32_t stalled_polls_ = 0;  // polls after the end of input without a "HOME"
};

}  // namespace kvr

#endif
