// The table of the 95 scene bindings: which program record the scene sees
// under which object and variable name.
#ifndef MAISON_STARTUP_SCENE_BINDINGS_H
#define MAISON_STARTUP_SCENE_BINDINGS_H

#include <cstddef>
#include <span>

namespace maison {

enum class RecordKind { linked_text, display_switch, colour_triple, int32, talnum_area };

struct SceneBinding {
  const char* object;
  const char* variable;
  void* record;
  RecordKind kind;
};

// The bindings in the order they are made.
std::span<const SceneBinding> scene_bindings();

// Size in bytes of a record of the given kind.
std::size_t record_size(RecordKind kind);

// One KvLink per binding, in table order. Results are not examined.
void bind_scene_variables();

}  // namespace maison

#endif
