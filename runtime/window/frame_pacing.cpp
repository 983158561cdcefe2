#include "frame_pacing.h"

#include <cmath>

namespace kvr {

int FramePacing::wait_ms(double now) const {
  if (!dirty_) return -1;
  double left = next_ - now;
  if (left <= 0.0) return 1;
  return static_cast<int>(std::ceil(left * 1000.0));
}

bool FrameWatch::out_of_date(const FrameView& view, const SceneRenderer* renderer,
                             const PointerLook& pointer, double now) {
  if (view.scene == nullptr || view.records == nullptr) return false;
  snapshot_.clear();
  const auto& records = *view.records;
  for (std::size_t i = 0; i < records.size() && i < view.scene->variables.size(); ++i) {
    if (records[i] == nullptr) continue;
    const auto* bytes = static_cast<const unsigned char*>(records[i]);
    snapshot_.insert(snapshot_.end(), bytes, bytes + record_size(view.scene->variables[i].kind));
  }
  if (view.state != nullptr) {
    const auto* f = reinterpret_cast<const unsigned char*>(&view.state->flags);
    snapshot_.insert(snapshot_.end(), f, f + sizeof view.state->flags);
    const auto* a = reinterpret_cast<const unsigned char*>(view.state->animation_start.data());
    snapshot_.insert(snapshot_.end(), a, a + view.state->animation_start.size() * sizeof(double));
  }
  // Which button the pointer lights changes only with the pointer or with
  // what is shown: asked again only then.
  bool same_records = snapshot_ == checked_;
  if (!same_records || pointer.x != checked_pointer_.x || pointer.y != checked_pointer_.y ||
      pointer.buttons != checked_pointer_.buttons) {
    look_ = renderer != nullptr ? renderer->look_key(view, pointer) : -1;
    checked_pointer_ = pointer;
    if (!same_records) checked_ = snapshot_;
  }
  focus_ = pointer.focus;
  // The pinned reference changes what is shown, not the program's records.
  pinned_ = view.reference != nullptr ? view.reference->generation() : 0;
  return snapshot_ != shown_ || look_ != shown_look_ || !(focus_ == shown_focus_) ||
         pinned_ != shown_pinned_ || animating(view, now);
}

void FrameWatch::drawn() {
  shown_ = snapshot_;
  shown_look_ = look_;
  shown_focus_ = focus_;
  shown_pinned_ = pinned_;
}

bool FrameWatch::animating(const FrameView& view, double t) {
  if (view.state == nullptr || view.scene == nullptr) return false;
  for (std::size_t i = 0; i < view.scene->animations.size(); ++i) {
    if (view.state->progress(*view.scene, static_cast<int>(i), t) < 1.0) return true;
  }
  return false;
}

}  // namespace kvr
