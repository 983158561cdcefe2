// The shipped scene HOME.SP1 for the renderer's tests: loaded, and with
// the start-up house's records, its state reset, a reference to pin and a
// renderer.
#ifndef MAISON_TESTS_IMAGES_HOME_SCENE_H
#define MAISON_TESTS_IMAGES_HOME_SCENE_H

#include <gtest/gtest.h>

#include <cstdint>

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

}  // namespace test

#endif
