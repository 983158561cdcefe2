#include "reference.h"

#include <algorithm>
#include <cstring>

namespace kvr {

void Reference::configure(const Scene* scene) {
  variables_.clear();
  sizes_.clear();
  offset_of_.clear();
  bytes_.clear();
  pinned_ = false;
  ++generation_;
  if (scene == nullptr) return;
  offset_of_.assign(scene->variables.size(), -1);
  std::size_t total = 0;
  for (int var : scene->reference_variables) {
    if (var < 0 || static_cast<std::size_t>(var) >= scene->variables.size()) continue;
    if (offset_of_[static_cast<std::size_t>(var)] >= 0) continue;
    std::size_t size = record_size(scene->variables[static_cast<std::size_t>(var)].kind);
    offset_of_[static_cast<std::size_t>(var)] = static_cast<std::ptrdiff_t>(total);
    variables_.push_back(var);
    sizes_.push_back(size);
    total += size;
  }
  bytes_.assign(total, 0);
}

void Reference::pin(const std::vector<const void*>& variable_records) {
  if (variables_.empty()) return;
  for (std::size_t i = 0; i < variables_.size(); ++i) {
    auto var = static_cast<std::size_t>(variables_[i]);
    unsigned char* target = bytes_.data() + offset_of_[var];
    const void* source = var < variable_records.size() ? variable_records[var] : nullptr;
    if (source != nullptr) {
      std::memcpy(target, source, sizes_[i]);
    } else {
      std::fill(target, target + sizes_[i], static_cast<unsigned char>(0));
    }
  }
  has_house_ = live_house_ != nullptr;
  if (has_house_) house_ = *live_house_;
  pinned_ = true;
  ++generation_;
}

void Reference::clear() {
  if (!pinned_) return;
  pinned_ = false;
  std::fill(bytes_.begin(), bytes_.end(), static_cast<unsigned char>(0));
  ++generation_;
}

}  // namespace kvr
