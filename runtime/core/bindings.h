// The binding table: every KvLink call, the records behind them and, for the
// backends, the record bound to each declared scene variable.
#ifndef KVR_CORE_BINDINGS_H
#define KVR_CORE_BINDINGS_H

#include <cstddef>
#include <string>
#include <unordered_map>
#include <vector>

#include "scene.h"

namespace kvr {

struct Binding {
  std::string object;
  std::string variable;
  std::string key;    // "OBJECT.VARIABLE", as the program spelled it
  int record = 0;     // index into BindingTable::records()
  int declared = -1;  // index into Scene::variables, -1 when the scene does not declare it
  RecordKind kind = RecordKind::Text;  // meaningful only when declared
};

// One program record: a distinct address, numbered in order of first binding.
struct BoundRecord {
  const unsigned char* address = nullptr;
  std::size_t size = 0;  // the largest declared kind bound to it; 0 = none declared
};

class BindingTable {
 public:
  // Forgets every binding; `scene` (may be nullptr) is what later links are
  // checked against.
  void reset(const Scene* scene);

  // Records one KvLink call and returns its binding.
  const Binding& link(const char* object, const char* variable, const void* address);

  const std::vector<Binding>& bindings() const { return bindings_; }
  const std::vector<BoundRecord>& records() const { return records_; }
  // records for FrameView: the address bound to each scene variable (the
  // latest binding wins), nullptr while unbound.
  const std::vector<const void*>& variable_records() const { return variable_records_; }

 private:
  const Scene* scene_ = nullptr;
  std::vector<Binding> bindings_;
  std::vector<BoundRecord> records_;
  std::unordered_map<const void*, int> record_of_;
  std::vector<const void*> variable_records_;
};

}  // namespace kvr

#endif
