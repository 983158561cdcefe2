// Small scenes of the renderer's tests: one object O holding a text T, a
// switch S, a colour C and an integer I, a flag f, an animation a of one
// second and an action go that sets f and starts a; a reference to pin
// when the scene names one.
#ifndef MAISON_TESTS_IMAGES_SMALL_SCENE_H
#define MAISON_TESTS_IMAGES_SMALL_SCENE_H

#include <gtest/gtest.h>

#include <string>

#include "canvas.h"
#include "frame/scene_renderer.h"
#include "reference.h"
#include "sample_records.h"
#include "scene.h"

namespace test {

// The scene above with the given elements (and extra top-level members).
inline kvr::Scene scene_with(const std::string& elements, const std::string& extra = "") {
  std::string text = R"({"format": "kvr-scene", "version": 1,
    "objects": [{"name": "O", "variables": [["T", "text"], ["S", "switch"], ["C", "colour"],
                                            ["I", "int32"]]}],
    "flags": ["f"], "animations": [{"name": "a", "seconds": 1.0}],
    "actions": [{"name": "go", "set": ["f"], "animate": ["a"]}])" +
                     extra + R"(, "elements": )" + elements + "}";
  kvr::SceneLoadResult r = kvr::parse_scene(text, "test.sp1");
  EXPECT_TRUE(r.scene.has_value()) << r.error;
  return r.scene ? *r.scene : kvr::Scene{};
}

inline const Rgb kRed{255, 0, 0};
inline const Rgb kPaper{248, 248, 243};  // the layout's background

// With `"reference": {"object": "O"}` in `extra`, `reference` pins O.T.
struct Fixture {
  explicit Fixture(const std::string& elements, const std::string& extra = "")
      : scene(scene_with(elements, extra)), records(scene), renderer(scene) {
    state.reset(scene);
    reference.configure(&scene);
  }
  kvr::FrameView view() { return {&scene, &state, &records.pointers(), &reference}; }
  void pin() { reference.pin(records.pointers()); }
  kvr::Scene scene;
  kvr::sample::Records records;
  kvr::SceneState state;
  kvr::Reference reference;
  kvr::SceneRenderer renderer;
};

}  // namespace test

#endif
