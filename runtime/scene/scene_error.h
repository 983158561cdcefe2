// How the scene reader reports a problem: an exception naming the place,
// caught once by parse_scene and turned into "FILE: where: problem".
#ifndef KVR_SCENE_SCENE_ERROR_H
#define KVR_SCENE_SCENE_ERROR_H

#include <nlohmann/json.hpp>
#include <stdexcept>
#include <string>

#include "scene.h"

namespace kvr::scene_detail {

struct SceneError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

[[noreturn]] inline void fail(const std::string& where, const std::string& problem) {
  throw SceneError(where + ": " + problem);
}

// The optional top-level sections: "reference", "class_scales" and the
// report's page size (scene_sections.cpp). The report's elements are checked
// by the element checks of scene.cpp.
void read_sections(Scene& scene, const nlohmann::json& doc);

}  // namespace kvr::scene_detail

#endif
