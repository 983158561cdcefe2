#include "frame_session.h"

#include <stdlib.h>
#include <unistd.h>

#include <filesystem>
#include <iostream>
#include <optional>
#include <utility>

#include "fresh_process.h"
#include "headless_input.h"
#include "house/house_physics.h"
#include "kvrrun.h"
#include "scene_source.h"
#include "startup/frame_loop.h"
#include "startup/initial_values.h"
#include "startup/launch_code.h"
#include "startup/scene_bindings.h"

namespace maison::fuzzing {
namespace {

struct Prepared {
  kvr::Scene scene;
  std::string empty_folder;
};

std::optional<Prepared>& prepared() {
  static std::optional<Prepared> p;
  return p;
}

// The scene is parsed once per process (its own fuzz target covers the
// parser) and copied at every KvLoad, without its element tree: nothing is
// drawn, and the tree is most of the cost of a copy.
kvr::SceneLoadResult copy_of_prepared_scene(const std::string& file) {
  kvr::SceneLoadResult result;
  if (file == "HOME.SP1") {
    result.scene = prepared()->scene;
  } else {
    result = kvr::load_scene_file(file);
  }
  return result;
}

}  // namespace

bool prepare_sessions(const std::string& scene_file) {
  if (prepared()) return true;
  kvr::SceneLoadResult loaded = kvr::load_scene_file(scene_file);
  if (!loaded.scene) {
    std::cerr << loaded.error << "\n";
    return false;
  }
  loaded.scene->file = "HOME.SP1";
  loaded.scene->elements = nlohmann::json::array();
  std::string folder = (std::filesystem::temp_directory_path() / "maison-session-XXXXXX").string();
  if (mkdtemp(folder.data()) == nullptr) {
    std::cerr << folder << ": cannot make the session folder\n";
    return false;
  }
  prepared() = Prepared{std::move(*loaded.scene), folder};
  std::atexit([] { rmdir(prepared()->empty_folder.c_str()); });
  kvr::replace_scene_source(&copy_of_prepared_scene);
  // The environment wins over any settings file; none of the other
  // variables may reach in from the caller's environment.
  setenv("KVR_BACKEND", "headless", 1);
  unsetenv("KVR_INPUT");
  unsetenv("KVR_TRACE");
  unsetenv("KVR_TRACE_STATES");
  return true;
}

std::uint64_t run_session(const SessionInput& input, const AfterFrame& after_frame) {
  testing::start_afresh();
  kvr::give_next_headless_input(input.states);
  // Start-up as WinMain does it; the configuration copy is left out, as
  // it would rewrite kvr.ini. KvBegin reads its settings in the empty
  // folder, so that none are found; everything else stays where the caller
  // is (libFuzzer writes its files relative to it).
  decode_launch_code(input.launch_code);
  // The trace goes nowhere, but every line of it is made and written.
  if (input.trace == SessionInput::Trace::none) {
    unsetenv("KVR_TRACE");
  } else {
    setenv("KVR_TRACE", "/dev/null", 1);
    setenv("KVR_TRACE_STATES", input.trace == SessionInput::Trace::full ? "full" : "changes", 1);
  }
  const std::filesystem::path caller = std::filesystem::current_path();
  std::filesystem::current_path(prepared()->empty_folder);
  KvBegin(0);
  std::filesystem::current_path(caller);
  KvLoad("HOME.SP1");
  bind_scene_variables();
  KvHouse(&house_view());
  set_initial_values();
  KvExec("INHOME");
  std::uint64_t frames = 0;
  do {
    run_frame();
    if (!after_frame(++frames)) break;
  } while (quit_requested != 1);
  KvEnd();
  return frames;
}

}  // namespace maison::fuzzing
