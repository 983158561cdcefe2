// The reference: a copy of chosen bound records taken on request, so that
// the scene can show the results as they were beside the results as they
// are. The scene names the records (its "reference" section); pinning copies
// their bytes and never writes a bound record. Once the program has handed
// over its house, a pin copies the whole house state as well.
#ifndef KVR_CORE_REFERENCE_H
#define KVR_CORE_REFERENCE_H

#include <cstddef>
#include <cstdint>
#include <vector>

#include "kvrhouse.h"
#include "scene.h"

namespace kvr {

class Reference {
 public:
  // Forgets any pinned copy; from now on the variables of `scene`'s
  // reference section (none when `scene` is nullptr) are the ones pinned.
  void configure(const Scene* scene);

  // Copies the records bound to the reference variables as they are now
  // (`variable_records[i]` is the record of scene variable i, or nullptr:
  // an unbound variable is pinned as an all-zero record, an empty text).
  // Pinning again replaces the copy.
  void pin(const std::vector<const void*>& variable_records);
  void clear();

  // The program's house state to copy at every pin (nullptr: none).
  void follow_house(const KvrHouseState* live) { live_house_ = live; }
  // The house as it was at the pin, or nullptr while nothing is pinned or
  // no house was handed over.
  const KvrHouseState* house() const { return pinned_ && has_house_ ? &house_ : nullptr; }

  bool pinned() const { return pinned_; }
  // Whether the scene names any record to pin at all.
  bool configured() const { return !variables_.empty(); }

  // The pinned bytes of scene variable `var`, or nullptr while nothing is
  // pinned or when `var` is not a reference variable.
  const unsigned char* copy(int var) const {
    if (!pinned_ || var < 0 || static_cast<std::size_t>(var) >= offset_of_.size()) return nullptr;
    std::ptrdiff_t offset = offset_of_[static_cast<std::size_t>(var)];
    return offset < 0 ? nullptr : bytes_.data() + offset;
  }

  // Changes at every pin and clear: what draws pinned values keys on it.
  std::uint64_t generation() const { return generation_; }

 private:
  std::vector<int> variables_;             // scene variable indices
  std::vector<std::size_t> sizes_;         // record size of each
  std::vector<std::ptrdiff_t> offset_of_;  // by scene variable; -1: not pinned
  std::vector<unsigned char> bytes_;
  bool pinned_ = false;
  std::uint64_t generation_ = 0;
  const KvrHouseState* live_house_ = nullptr;
  KvrHouseState house_{};
  bool has_house_ = false;
};

}  // namespace kvr

#endif
