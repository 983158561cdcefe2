// Cost of sending a drawn frame to the display, the drawing left out: the
// software renderer with a streaming texture (the whole frame every time)
// against SDL's window surface with only the changed rectangles. Needs a
// display (run by bench/window/present_bench.sh under Xvfb).
#include <SDL.h>
#include <benchmark/benchmark.h>
#include <cairo.h>

#include <cstdlib>
#include <cstring>
#include <iostream>
#include <vector>

#include "frame/scene_renderer.h"
#include "sample_records.h"

namespace {

// The rectangles a click on an arrow changes (Walls panel, 800 x 600 or
// scaled), as the renderer reports them.
std::vector<SDL_Rect> click_damage(int width, int height) {
  static const kvr::Scene scene = [] {
    kvr::SceneLoadResult r = kvr::load_scene_file(MAISON_SCENE_FILE);
    if (!r.scene) {
      std::cerr << r.error << "\n";
      std::exit(1);
    }
    return *r.scene;
  }();
  kvr::sample::Records records(scene);
  records.startup_house();
  records.open_panel("TALMUR", {"brique pleine", "0.105", "sans", "0.000", "sans", "0.000"});
  kvr::SceneState state;
  state.reset(scene);
  kvr::SceneRenderer renderer(scene);
  kvr::FrameView view{&scene, &state, &records.pointers()};
  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height);
  cairo_t* cr = cairo_create(surface);
  renderer.update(cr, width, height, view, 100.0, {775, 389, 0});
  records.text("HOME.A3", "laine de verre");
  records.text("FONDRES.KLASS", "E");
  std::vector<SDL_Rect> rects;
  for (const kvr::DeviceRect& r : renderer.update(cr, width, height, view, 100.0, {775, 389, 0}))
    rects.push_back({r.x, r.y, r.width, r.height});
  cairo_destroy(cr);
  cairo_surface_destroy(surface);
  return rects;
}

SDL_Window* open_window(int width, int height) {
  SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
  SDL_SetHint(SDL_HINT_RENDER_DRIVER, "software");
  if (SDL_WasInit(SDL_INIT_VIDEO) == 0 && SDL_Init(SDL_INIT_VIDEO) != 0) return nullptr;
  return SDL_CreateWindow("present_bench", 0, 0, width, height, 0);
}

void texture_frames(benchmark::State& st, int width, int height) {
  SDL_Window* window = open_window(width, height);
  if (window == nullptr) return st.SkipWithError("no display");
  SDL_Renderer* renderer = SDL_CreateRenderer(window, -1, SDL_RENDERER_SOFTWARE);
  SDL_Texture* texture = SDL_CreateTexture(renderer, SDL_PIXELFORMAT_ARGB8888,
                                           SDL_TEXTUREACCESS_STREAMING, width, height);
  for (auto _ : st) {
    void* pixels = nullptr;
    int pitch = 0;
    SDL_LockTexture(texture, nullptr, &pixels, &pitch);
    benchmark::DoNotOptimize(pixels);
    SDL_UnlockTexture(texture);
    SDL_RenderCopy(renderer, texture, nullptr, nullptr);
    SDL_RenderPresent(renderer);
  }
  SDL_DestroyTexture(texture);
  SDL_DestroyRenderer(renderer);
  SDL_DestroyWindow(window);
}

void surface_frames(benchmark::State& st, int width, int height, bool whole) {
  SDL_Window* window = open_window(width, height);
  if (window == nullptr) return st.SkipWithError("no display");
  std::vector<SDL_Rect> rects =
      whole ? std::vector<SDL_Rect>{{0, 0, width, height}} : click_damage(width, height);
  SDL_Surface* surface = SDL_GetWindowSurface(window);
  if (surface == nullptr) return st.SkipWithError("no window surface");
  for (auto _ : st) {
    SDL_UpdateWindowSurfaceRects(window, rects.data(), static_cast<int>(rects.size()));
  }
  SDL_DestroyWindow(window);
}

void BM_Present_Texture_WholeFrame_800x600(benchmark::State& st) {
  texture_frames(st, 800, 600);
}
void BM_Present_Texture_WholeFrame_1920x1080(benchmark::State& st) {
  texture_frames(st, 1920, 1080);
}
void BM_Present_Surface_WholeFrame_800x600(benchmark::State& st) {
  surface_frames(st, 800, 600, true);
}
void BM_Present_Surface_WholeFrame_1920x1080(benchmark::State& st) {
  surface_frames(st, 1920, 1080, true);
}
void BM_Present_Surface_AfterClick_800x600(benchmark::State& st) {
  surface_frames(st, 800, 600, false);
}
void BM_Present_Surface_AfterClick_1920x1080(benchmark::State& st) {
  surface_frames(st, 1920, 1080, false);
}
BENCHMARK(BM_Present_Texture_WholeFrame_800x600)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Present_Texture_WholeFrame_1920x1080)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Present_Surface_WholeFrame_800x600)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Present_Surface_WholeFrame_1920x1080)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Present_Surface_AfterClick_800x600)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Present_Surface_AfterClick_1920x1080)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
