#include "scene_source.h"

#include <utility>

namespace kvr {

namespace {

SceneSource source_in_use = nullptr;

}  // namespace

SceneSource replace_scene_source(SceneSource source) {
  return std::exchange(source_in_use, source);
}

SceneLoadResult load_scene_from_source(const std::string& file) {
  return source_in_use != nullptr ? source_in_use(file) : load_scene_file(file);
}

}  // namespace kvr
