// Where KvLoad gets its scene. Normally the file is read and parsed at every
// KvLoad. Drivers that start the runtime thousands of times in one process
// with the same scene (the frame fuzzer, the property test of the program's
// frame) parse it once and hand out copies instead. Not exported.
#ifndef KVR_CORE_SCENE_SOURCE_H
#define KVR_CORE_SCENE_SOURCE_H

#include <string>

#include "scene.h"

namespace kvr {

using SceneSource = SceneLoadResult (*)(const std::string& file);

// Replaces the source (nullptr: read the file) and returns the previous one.
SceneSource replace_scene_source(SceneSource source);

// The scene named `file`, from the source in use.
SceneLoadResult load_scene_from_source(const std::string& file);

}  // namespace kvr

#endif
