// The shipped scene HOME.SP1 for the renderer's tests: loaded, and with
// the start-up house's records, its state reset, a reference to pin and a
// renderer.
#ifndef MAISON_TESTS_IMAGES_HOME_SCENE_H
#define MAISON_TESTS_IMAGES_HOME_SCENE_H

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <set>

#include "frame/scene_renderer.h"
#include "reference.h"
#include "sample_records.h"
#include "scene.h"

namespace test {

inline kvr::Scene load_home() {
  kvr::SceneLoadResult r = kvr::load_scene_file(MAISON_SCENE_FILE);
  EXPECT_TRUE(r.scene.has_value()) << r.error;
  return r.scene ? *r.scene : kvr::Scene{};
}

// HOME.SP1 with the start-up house's records and a reference to pin.
struct Home {
  Home() : scene(load_home()), records(scene), renderer(scene) {
    state.reset(scene);
    reference.configure(&scene);
    records.startup_house();
  }
  kvr::FrameView view() {
    kvr::FrameView v{&scene, &state, &records.pointers(), &reference};
    return v;
  }
  void flag(const char* name, bool on) {
    std::uint64_t bit = std::uint64_t{1} << scene.find_flag(name);
    state.flags = on ? (state.flags | bit) : (state.flags & ~bit);
  }
  kvr::Scene scene;
  kvr::sample::Records records;
  kvr::SceneState state;
  kvr::Reference reference;
  kvr::SceneRenderer renderer;
};

// The program's hit rectangles, [x1, y1, x2, y2] in layout units: what its
// own hit tests read, whether drawn now or not.
inline std::set<std::array<int, 4>> program_hit_rectangles() {
  std::set<std::array<int, 4>> hit = {
      {658, 568, 682, 590}, {739, 568, 763, 590}, {658, 20, 712, 65},   {766, 568, 790, 590},
      {180, 78, 282, 106},  {180, 43, 282, 71},   {180, 8, 282, 35},    {290, 78, 392, 106},
      {290, 43, 392, 71},   {290, 8, 392, 35},    {400, 78, 502, 106},  {400, 43, 502, 71},
      {400, 8, 502, 35},    {25, 568, 140, 590},  {160, 568, 325, 590}, {340, 568, 460, 590},
  };
  for (int r = 1; r <= 6; ++r) {
    int y1 = 498 - 60 * (r - 1), y2 = 520 - 60 * (r - 1);
    hit.insert({610, y1, 633, y2});
    hit.insert({764, y1, 787, y2});
    int m1 = 455 - 30 * (r - 1);
    hit.insert({526, m1, 546, m1 + 20});
    hit.insert({577, m1, 597, m1 + 20});
  }
  return hit;
}

}  // namespace test

#endif
