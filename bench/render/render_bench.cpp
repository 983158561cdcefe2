// Time to draw one frame of HOME.SP1, records filled like the start-up house
// after its first frame. The window draws at its real pixel size, so frames
// are measured at 800 x 600 and at 1920 x 1080. "Frame_<screen>" frames draw
// everything (the worst case: the first frame, a new window size);
// "AfterClick" frames redraw what one arrow click changes; "Pinned" frames
// have a reference pinned (second lines, the difference, ghost bars, the
// hollow tag). "WriteReport" writes the report's PDF and CSV.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <sstream>
#include <string_view>

#include "frame/scene_renderer.h"
#include "layout/view_grid.h"
#include "output/report_writer.h"
#include "reference.h"
#include "sample_records.h"

namespace {

const kvr::Scene& home_scene() {
  static const kvr::Scene scene = [] {
    // KVR_BENCH_SCENE measures another scene file, for comparing variants.
    const char* other = std::getenv("KVR_BENCH_SCENE");
    kvr::SceneLoadResult r = kvr::load_scene_file(other != nullptr ? other : MAISON_SCENE_FILE);
    if (!r.scene) {
      std::cerr << r.error << "\n";
      std::exit(1);
    }
    return *r.scene;
  }();
  return scene;
}

enum class Screen { Start, WallsPanel, AllResults, Camera };

void prepare(Screen screen, kvr::sample::Records& records, kvr::SceneState& state) {
  const kvr::Scene& scene = home_scene();
  records.startup_house();
  state.reset(scene);
  state.play(scene, scene.find_action("HOME"), -1.0);
  switch (screen) {
    case Screen::Start:
      break;
    case Screen::WallsPanel:
      records.open_panel("TALMUR",
                         {"brique pleine", "0.105", "laine de verre", "0.100", "sans", "0.000"});
      break;
    case Screen::AllResults:
      for (const char* s : {"TALTAB", "TALRESK", "TALRESD", "TALRESW", "TALRESAN"})
        records.show(std::string("FONDRES.") + s, 1.0f);
      break;
    case Screen::Camera:
      records.show("HOME.TLTOISOL", 0.0f);
      records.show("HOME.TALCAM", 1.0f);
      records.show("HOME.TALREST", 1.0f);
      break;
  }
}

// How much of the picture each measured frame must draw anew. Every frame
// is drawn the way the window draws it: SceneRenderer::update() on a
// surface that keeps the frame before.
enum class Redraw {
  Nothing,       // the same records again: nothing to draw
  AfterClick,    // a click on an arrow: a panel text, the results and colours change
  WallMaterial,  // a click that changes the wall's material: the walls are recoloured
  Everything,    // first frame or a new window size: everything is drawn
};

// With a reference pinned: the start-up house's results, as after F5.
enum class Pinned { No, Yes };

void draw_frame(benchmark::State& st, Screen screen, int width, int height,
                Redraw redraw = Redraw::Everything, Pinned pinned = Pinned::No) {
  const kvr::Scene& scene = home_scene();
  kvr::sample::Records records(scene);
  kvr::SceneState state;
  prepare(screen, records, state);
  kvr::Reference reference;
  reference.configure(&scene);
  if (pinned == Pinned::Yes) reference.pin(records.pointers());
  kvr::SceneRenderer renderer(scene);
  kvr::FrameView view{&scene, &state, &records.pointers(), &reference};
  // Two surfaces one pixel apart in height: alternating them changes the
  // size, which makes everything draw again.
  cairo_surface_t* surfaces[2] = {
      cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height),
      cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height + 1)};
  bool flip = false;
  for (auto _ : st) {
    if (redraw == Redraw::AfterClick) {
      records.text("HOME.A3", flip ? "laine de verre" : "sans");
      records.text("FONDRES.B1", flip ? "0.34" : "3.64");
      records.text("FONDRES.D1", flip ? "631" : "6752");
      records.text("FONDRES.G1", flip ? "19876" : "41914");
      records.text("FONDRES.KLASS", flip ? "D" : "F");
      records.colour("HOME.COLMUR", flip ? 240 : 172, flip ? 100 : 0, flip ? 0 : 78);
    }
    if (redraw == Redraw::WallMaterial) {
      records.text("HOME.A1", flip ? "pierre" : "brique pleine");
      records.colour("HOMURS.MURBORD", flip ? 200 : 240, flip ? 190 : 89, flip ? 170 : 84);
      records.colour("HOMURS.MURFOND", flip ? 170 : 201, flip ? 160 : 76, flip ? 140 : 71);
      records.colour("HOMURS.MURSOMBR", flip ? 150 : 178, flip ? 140 : 66, flip ? 120 : 62);
      records.text("FONDRES.G1", flip ? "45210" : "41914");
    }
    bool other = redraw == Redraw::Everything && flip;
    cairo_surface_t* surface = surfaces[other ? 1 : 0];
    cairo_t* cr = cairo_create(surface);
    auto damage = renderer.update(cr, width, other ? height + 1 : height, view, 100.0,
                                  kvr::PointerLook{231, 92, 0});
    benchmark::DoNotOptimize(damage.data());
    cairo_destroy(cr);
    cairo_surface_flush(surface);
    benchmark::ClobberMemory();
    flip = !flip;
  }
  cairo_surface_destroy(surfaces[0]);
  cairo_surface_destroy(surfaces[1]);
}

// Milliseconds (microseconds) per frame. KVR_BENCH_ITERATIONS=N runs each
// case exactly N times in one round, for counting instructions with
// callgrind (the frames of two such runs subtracted: bench/render/frame_ir.sh).
void fixed_iterations(benchmark::internal::Benchmark* b) {
  if (const char* n = std::getenv("KVR_BENCH_ITERATIONS"))
    b->Iterations(std::strtoll(n, nullptr, 10));
}
void in_ms(benchmark::internal::Benchmark* b) {
  b->Unit(benchmark::kMillisecond);
  b->MeasureProcessCPUTime();
  b->UseRealTime();
  fixed_iterations(b);
}
void in_us(benchmark::internal::Benchmark* b) {
  b->Unit(benchmark::kMicrosecond);
  fixed_iterations(b);
}

void BM_Frame_WallsPanel_AfterClick_800x600(benchmark::State& st) {
  draw_frame(st, Screen::WallsPanel, 800, 600, Redraw::AfterClick);
}
void BM_Frame_WallsPanel_AfterClick_1920x1080(benchmark::State& st) {
  draw_frame(st, Screen::WallsPanel, 1920, 1080, Redraw::AfterClick);
}
void BM_Frame_WallsPanel_Unchanged_800x600(benchmark::State& st) {
  draw_frame(st, Screen::WallsPanel, 800, 600, Redraw::Nothing);
}
void BM_Frame_WallsPanel_WallMaterial_800x600(benchmark::State& st) {
  draw_frame(st, Screen::WallsPanel, 800, 600, Redraw::WallMaterial);
}
void BM_Frame_WallsPanel_Pinned_AfterClick_800x600(benchmark::State& st) {
  draw_frame(st, Screen::WallsPanel, 800, 600, Redraw::AfterClick, Pinned::Yes);
}
void BM_Frame_AllResults_Pinned_AfterClick_800x600(benchmark::State& st) {
  draw_frame(st, Screen::AllResults, 800, 600, Redraw::AfterClick, Pinned::Yes);
}
void BM_Frame_AllResults_AfterClick_800x600(benchmark::State& st) {
  draw_frame(st, Screen::AllResults, 800, 600, Redraw::AfterClick);
}
BENCHMARK(BM_Frame_WallsPanel_AfterClick_800x600)->Apply(in_ms);
BENCHMARK(BM_Frame_AllResults_AfterClick_800x600)->Apply(in_ms);
BENCHMARK(BM_Frame_WallsPanel_Pinned_AfterClick_800x600)->Apply(in_ms);
BENCHMARK(BM_Frame_AllResults_Pinned_AfterClick_800x600)->Apply(in_ms);
BENCHMARK(BM_Frame_WallsPanel_WallMaterial_800x600)->Apply(in_ms);
BENCHMARK(BM_Frame_WallsPanel_AfterClick_1920x1080)->Apply(in_ms);
BENCHMARK(BM_Frame_WallsPanel_Unchanged_800x600)->Apply(in_ms);

void BM_Frame_Start_800x600(benchmark::State& st) {
  draw_frame(st, Screen::Start, 800, 600);
}
void BM_Frame_Start_1920x1080(benchmark::State& st) {
  draw_frame(st, Screen::Start, 1920, 1080);
}
void BM_Frame_WallsPanel_800x600(benchmark::State& st) {
  draw_frame(st, Screen::WallsPanel, 800, 600);
}
void BM_Frame_WallsPanel_1920x1080(benchmark::State& st) {
  draw_frame(st, Screen::WallsPanel, 1920, 1080);
}
void BM_Frame_AllResults_800x600(benchmark::State& st) {
  draw_frame(st, Screen::AllResults, 800, 600);
}
void BM_Frame_AllResults_Pinned_800x600(benchmark::State& st) {
  draw_frame(st, Screen::AllResults, 800, 600, Redraw::Everything, Pinned::Yes);
}
void BM_Frame_Camera_800x600(benchmark::State& st) {
  draw_frame(st, Screen::Camera, 800, 600);
}
// F10 with a reference pinned and the house changed since: the page
// compiled, drawn into a PDF and written, and the CSV beside it (into a
// temporary folder; each file replaces the one before).
void BM_WriteReport(benchmark::State& st) {
  const kvr::Scene& scene = home_scene();
  kvr::sample::Records records(scene);
  kvr::SceneState state;
  prepare(Screen::WallsPanel, records, state);
  kvr::Reference reference;
  reference.configure(&scene);
  reference.pin(records.pointers());
  records.text("FONDRES.G1", "30026");
  records.text("FONDRES.KLASS", "E");
  kvr::FrameView view{&scene, &state, &records.pointers(), &reference};
  std::filesystem::path dir =
      std::filesystem::temp_directory_path() / ("maison-bench-" + std::to_string(getpid()));
  std::filesystem::create_directories(dir);
  std::ostringstream errors;
  for (auto _ : st) {
    bool pdf = kvr::render::write_report_pdf((dir / "r.pdf").string(), view, 1'800'000'000, errors);
    bool csv = kvr::render::write_report_csv((dir / "r.csv").string(), view, errors);
    if (!pdf || !csv) st.SkipWithError(errors.str().c_str());
  }
  st.counters["pdf_bytes"] = static_cast<double>(std::filesystem::file_size(dir / "r.pdf"));
  std::filesystem::remove_all(dir);
}

// Loading cost paid once per scene: compiling the elements into the draw
// list (the pages are wrapped here).
void BM_CompileScene(benchmark::State& st) {
  const kvr::Scene& scene = home_scene();
  for (auto _ : st) {
    kvr::SceneRenderer renderer(scene);
    benchmark::DoNotOptimize(&renderer);
  }
}

// What the window does per "HOME" call when nothing changed: asking which
// button the pointer lights.
void BM_LookKey(benchmark::State& st) {
  const kvr::Scene& scene = home_scene();
  kvr::sample::Records records(scene);
  kvr::SceneState state;
  prepare(Screen::WallsPanel, records, state);
  kvr::SceneRenderer renderer(scene);
  kvr::FrameView view{&scene, &state, &records.pointers()};
  for (auto _ : st) benchmark::DoNotOptimize(renderer.look_key(view, {775, 389, 0}));
}

// The grid of result views laid out afresh, as when a view opens or the
// window changes size: the table, the four charts and the condensation
// card at 800 x 600 (the layout step's worst case in use), and the same
// found in the cache, as every other frame finds it.
void BM_LayOutViews(benchmark::State& st) {
  const kvr::Scene& scene = home_scene();
  kvr::SceneRenderer renderer(scene);
  const kvr::render::GridSpec& spec = renderer.grid().spec();
  std::vector<kvr::render::Placement> placed(spec.views.size());
  std::uint32_t shown = 0b1011111;  // table, U, H, losses, annual need, condensation
  kvr::render::Box room = spec.area;
  for (auto _ : st) {
    double scale = kvr::render::lay_out_views(spec, shown, room, placed.data());
    benchmark::DoNotOptimize(scale);
  }
}
void BM_LayOutViewsCached(benchmark::State& st) {
  const kvr::Scene& scene = home_scene();
  kvr::sample::Records records(scene);
  kvr::SceneState state;
  prepare(Screen::AllResults, records, state);
  kvr::SceneRenderer renderer(scene);
  kvr::HouseViews house;
  house.shown = kvr::HouseViews::Shown::Moisture;
  kvr::FrameView view{&scene, &state, &records.pointers()};
  view.house_views = &house;
  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, 800, 600);
  cairo_t* cr = cairo_create(surface);
  renderer.draw(cr, 800, 600, view, 1e9, {});
  for (auto _ : st) benchmark::DoNotOptimize(renderer.placements(view));
  cairo_destroy(cr);
  cairo_surface_destroy(surface);
}

BENCHMARK(BM_Frame_Start_800x600)->Apply(in_ms);
BENCHMARK(BM_Frame_Start_1920x1080)->Apply(in_ms);
BENCHMARK(BM_Frame_WallsPanel_800x600)->Apply(in_ms);
BENCHMARK(BM_Frame_WallsPanel_1920x1080)->Apply(in_ms);
BENCHMARK(BM_Frame_AllResults_800x600)->Apply(in_ms);
BENCHMARK(BM_Frame_AllResults_Pinned_800x600)->Apply(in_ms);
BENCHMARK(BM_Frame_Camera_800x600)->Apply(in_ms);
BENCHMARK(BM_WriteReport)->Apply(in_ms);
BENCHMARK(BM_CompileScene)->Apply(in_ms);
BENCHMARK(BM_LookKey)->Apply(in_us);
BENCHMARK(BM_LayOutViews)->Apply(in_us);
BENCHMARK(BM_LayOutViewsCached)->Apply(in_us);

}  // namespace

BENCHMARK_MAIN();
