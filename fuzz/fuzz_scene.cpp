// libFuzzer target: scene file text. Any input must either load or give a
// message naming the file; a scene that loads must play all its actions.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "scene.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string_view text(reinterpret_cast<const char*>(data), size);
  kvr::SceneLoadResult result = kvr::parse_scene(text, "fuzz.sp1");
  if (!result.scene) {
    if (result.error.rfind("fuzz.sp1: ", 0) != 0) std::abort();
    return 0;
  }
  kvr::SceneState state;
  state.reset(*result.scene);
  for (std::size_t i = 0; i < result.scene->actions.size(); ++i) {
    state.play(*result.scene, static_cast<int>(i), 1.0);
    for (std::size_t a = 0; a < result.scene->animations.size(); ++a)
      (void)state.progress(*result.scene, static_cast<int>(a), 1.5);
  }
  for (const kvr::SceneVariable& v : result.scene->variables) {
    if (result.scene->find_variable(v.qualified) < 0) std::abort();
  }
  return 0;
}
