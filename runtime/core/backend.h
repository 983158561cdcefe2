// The seam between the runtime's core (scene, bindings, trace) and its
// backends. The core applies every action to the scene state and writes the
// trace; a backend only shows the result and supplies pointer states.
#ifndef KVR_CORE_BACKEND_H
#define KVR_CORE_BACKEND_H

#include <cstdint>
#include <functional>
#include <memory>
#include <string_view>
#include <vector>

#include "house_views.h"
#include "kvrhouse.h"
#include "reference.h"
#include "scene.h"
#include "settings.h"

namespace kvr {

// Everything a backend may read to draw a frame. `records[i]` is the
// program record bound to scene->variables[i], or nullptr while unbound.
struct FrameView {
  const Scene* scene = nullptr;  // nullptr when no scene is loaded
  const SceneState* state = nullptr;
  const std::vector<const void*>* records = nullptr;
  // The pinned copy of the scene's reference records (never nullptr while
  // the runtime runs; nothing pinned until a command pins it).
  const Reference* reference = nullptr;
  // The program's house (KvHouse), read only; nullptr until it is handed over.
  const KvrHouse* house = nullptr;
  // The runtime's own views of the house and its humidity (the backend's
  // commands keep them); nullptr: none shown, 50 %.
  const HouseViews* house_views = nullptr;
};

class Backend {
 public:
  virtual ~Backend() = default;

  // The core's reference, which the runtime's commands pin and clear. Set
  // by the core before open() and valid until close().
  void set_reference(Reference* reference) { reference_ = reference; }

  // What the core does whenever the backend is about to sleep until input
  // comes (it flushes the trace, so that the file can be followed as it is
  // written). Set by the core before open(); a backend that never waits
  // never calls it.
  void set_before_wait(std::function<void()> before_wait) { before_wait_ = std::move(before_wait); }

  // At KvBegin, after the settings are read. False: the backend cannot run
  // (the message is already on standard error).
  virtual bool open(const Settings& settings) = 0;

  // After the core has applied `action` (index into scene->actions, or -1
  // for an action the scene does not declare) to the scene state.
  virtual void show(const FrameView& view, int action, std::string_view name) = 0;

  // One KvMouse call: the next pointer state, at once.
  virtual void poll(std::int32_t* x, std::int32_t* y, std::int32_t* buttons) = 0;

  // True once the run should end (script used up, window closed): every
  // KvExec("HOME") then returns 1.
  virtual bool wants_end() const = 0;

  // Clock for animations, in seconds; the headless backend returns a value
  // that makes every animation finished.
  virtual double now() const = 0;

  // At KvEnd or before an exit of the runtime's own.
  virtual void close() = 0;

 protected:
  // Called by a backend just before each wait for input.
  void before_wait() {
    if (before_wait_) before_wait_();
  }

  Reference* reference_ = nullptr;

 private:
  std::function<void()> before_wait_;
};

std::unique_ptr<Backend> make_headless_backend();
// Only in builds with the window backend (KVR_WITH_WINDOW).
std::unique_ptr<Backend> make_window_backend();
// Only in the WebAssembly build for a page (KVR_WITH_BROWSER).
std::unique_ptr<Backend> make_browser_backend();

}  // namespace kvr

#endif
