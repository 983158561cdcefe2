// One whole frame of the program's own steps, and the heat-loss model alone.
#include <benchmark/benchmark.h>

#include <cstdio>

#include "input/panels.h"
#include "model/coefficients.h"
#include "model/parameters.h"
#include "startup/frame_loop.h"
#include "startup/initial_values.h"
#include "startup/launch_code.h"
#include "startup/printf_fixed.h"
#include "startup/scene_bindings.h"
#include "thermal/heat_loss_model.h"

namespace {

void start_with_panel_open(maison::Panel panel) {
  maison::decode_launch_code(1000);
  maison::bind_scene_variables();
  maison::set_initial_values();
  maison::active_panel[maison::index_of(panel)] = 1;
  maison::run_frame();
}

// The Walls panel has the largest catalogue: six texts rewritten every frame.
void BM_FrameWallsPanelOpen(benchmark::State& state) {
  start_with_panel_open(maison::Panel::walls);
  for (auto _ : state) maison::run_frame();
}
BENCHMARK(BM_FrameWallsPanelOpen);

void BM_FrameLocationPanelOpen(benchmark::State& state) {
  start_with_panel_open(maison::Panel::location);
  for (auto _ : state) maison::run_frame();
}
BENCHMARK(BM_FrameLocationPanelOpen);

// Worst case: wall, indoor and outdoor temperature alternate, so that almost
// every number of the frame differs from the frame before and is formatted anew.
void BM_FrameEveryResultChanging(benchmark::State& state) {
  start_with_panel_open(maison::Panel::walls);
  bool flip = false;
  for (auto _ : state) {
    flip = !flip;
    maison::wall_type = flip ? 1 : 2;
    maison::indoor_temperature = flip ? 18 : 20;
    maison::outdoor_base_temperature = flip ? -2 : -11;
    maison::run_frame();
  }
}
BENCHMARK(BM_FrameEveryResultChanging);

void BM_ComputeHeatLosses(benchmark::State& state) {
  start_with_panel_open(maison::Panel::walls);
  for (auto _ : state) {
    maison::compute_heat_losses();
    benchmark::DoNotOptimize(maison::need_per_m2);
  }
}
BENCHMARK(BM_ComputeHeatLosses);

// The two ways of formatting one result number, for comparison.
void BM_FormatOneNumberToChars(benchmark::State& state) {
  char out[79];
  double value = 7772.040302267;
  for (auto _ : state) {
    benchmark::DoNotOptimize(value);
    benchmark::DoNotOptimize(maison::format_fixed(out, sizeof out, value, maison::format_3_1f));
  }
}
BENCHMARK(BM_FormatOneNumberToChars);

void BM_FormatOneNumberSnprintf(benchmark::State& state) {
  char out[79];
  double value = 7772.040302267;
  for (auto _ : state) {
    benchmark::DoNotOptimize(value);
    benchmark::DoNotOptimize(std::snprintf(out, sizeof out, "%3.1f", value));
  }
}
BENCHMARK(BM_FormatOneNumberSnprintf);

}  // namespace

BENCHMARK_MAIN();
