// Headless frames per second: the C API driven exactly like the program's
// frame (one KvMouse, two KvExec("HOME")), with a record bound to every
// variable the scene declares and the three twice-bound switches bound a
// second time, as the program binds them.
#include <benchmark/benchmark.h>
#include <stdlib.h>
#include <unistd.h>

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <vector>

#include "kvrrun.h"
#include "scene.h"

namespace {

namespace fs = std::filesystem;

fs::path scene_path() {
  fs::path shipped = fs::path(MAISON_BIN_DIR) / "HOME.SP1";
  return fs::exists(shipped) ? shipped : fs::path(BENCH_FALLBACK_SCENE);
}

// Runs KvBegin .. KvEnd around the timed frames in a scratch folder.
void headless_frames(benchmark::State& state, const char* trace) {
  fs::path old = fs::current_path();
  fs::path dir = fs::temp_directory_path() / ("kvr-bench-" + std::to_string(getpid()));
  fs::create_directories(dir);
  fs::copy_file(scene_path(), dir / "HOME.SP1", fs::copy_options::overwrite_existing);
  fs::current_path(dir);
  std::ofstream(dir / "idle.txt") << "400 300 0 *1000000000\n400 300 0 *1000000000\n";

  std::ifstream in("HOME.SP1");
  std::stringstream text;
  text << in.rdbuf();
  auto loaded = kvr::parse_scene(text.str(), "HOME.SP1");
  if (!loaded.scene) {
    state.SkipWithError(loaded.error.c_str());
    return;
  }
  const kvr::Scene& scene = *loaded.scene;
  // Records of static lifetime, as the program's are: 80 bytes fit every kind.
  std::vector<std::array<unsigned char, 80>> records(scene.variables.size());
  for (auto& r : records) r.fill(0);

  setenv("KVR_BACKEND", "headless", 1);
  setenv("KVR_INPUT", "idle.txt", 1);
  setenv("KVR_TRACE", trace, 1);
  setenv("KVR_TRACE_STATES", "changes", 1);
  if (trace[0] == '\0') unsetenv("KVR_TRACE");
  KvBegin(0);
  KvLoad("HOME.SP1");
  for (std::size_t i = 0; i < scene.variables.size(); ++i) {
    const kvr::SceneVariable& v = scene.variables[i];
    // HOMBASE's TALFENT, TALMRSOL and TALFNSOL share HOME's records.
    int home = v.object == "HOMBASE" ? scene.find_variable("HOME", v.name) : -1;
    void* record = home >= 0 ? records[static_cast<std::size_t>(home)].data() : records[i].data();
    KvLink(v.object.c_str(), v.name.c_str(), record);
  }
  KvExec("INHOME");

  std::int32_t x = 0, y = 0, buttons = 0;
  std::int64_t frames = 0;
  for (auto _ : state) {
    KvMouse(-1, &x, &y, &buttons);
    benchmark::DoNotOptimize(KvExec("HOME"));
    benchmark::DoNotOptimize(KvExec("HOME"));
    ++frames;
  }
  state.SetItemsProcessed(frames);
  state.counters["frames/s"] =
      benchmark::Counter(static_cast<double>(frames), benchmark::Counter::kIsRate);
  KvEnd();
  fs::current_path(old);
  fs::remove_all(dir);
}

void BM_HeadlessFrameTraceOff(benchmark::State& state) {
  headless_frames(state, "");
}
// The trace goes to /dev/null: formatting and change detection are timed,
// the disk is not.
void BM_HeadlessFrameTraceChanges(benchmark::State& state) {
  headless_frames(state, "/dev/null");
}

BENCHMARK(BM_HeadlessFrameTraceOff)->MinTime(2.0);
BENCHMARK(BM_HeadlessFrameTraceChanges)->MinTime(2.0);

}  // namespace

BENCHMARK_MAIN();
