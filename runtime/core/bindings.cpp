#include "bindings.h"

#include <algorithm>

namespace kvr {

void BindingTable::reset(const Scene* scene) {
  scene_ = scene;
  bindings_.clear();
  records_.clear();
  record_of_.clear();
  variable_records_.assign(scene ? scene->variables.size() : 0, nullptr);
}

const Binding& BindingTable::link(const char* object, const char* variable, const void* address) {
  Binding binding;
  binding.object = object ? object : "";
  binding.variable = variable ? variable : "";
  binding.key = binding.object + "." + binding.variable;

  auto [it, inserted] = record_of_.try_emplace(address, static_cast<int>(records_.size()));
  if (inserted) records_.push_back({static_cast<const unsigned char*>(address), 0});
  binding.record = it->second;

  // A null address is never read, whatever the scene declares.
  if (scene_ != nullptr && address != nullptr) {
    binding.declared = scene_->find_variable(binding.object, binding.variable);
    if (binding.declared >= 0) {
      auto index = static_cast<std::size_t>(binding.declared);
      binding.kind = scene_->variables[index].kind;
      BoundRecord& record = records_[static_cast<std::size_t>(binding.record)];
      record.size = std::max(record.size, record_size(binding.kind));
      variable_records_[index] = address;
    }
  }
  bindings_.push_back(std::move(binding));
  return bindings_.back();
}

}  // namespace kvr
