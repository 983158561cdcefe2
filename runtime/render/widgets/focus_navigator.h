// Keyboard focus: which buttons the keyboard reaches now (the visible,
// live buttons with a place in the focus order, inside the focus scope
// shown on top), and the ring that Tab and Shift+Tab move over them. The
// place is remembered per scope, so that the ring is back where it was when
// a scope (the results-view menu, the intro bar) closes and opens again.
#ifndef KVR_RENDER_FOCUS_NAVIGATOR_H
#define KVR_RENDER_FOCUS_NAVIGATOR_H

#include <map>
#include <vector>

#include "backend.h"
#include "model/device.h"
#include "model/element_model.h"

namespace kvr::render {

struct Focusable {
  int order = 0;
  const Node* node = nullptr;
};

struct FocusReach {
  int scope = -1;                // the scope in use; -1: the buttons outside every scope
  std::vector<Focusable> items;  // by focus order, one per order
};

// The controls the keyboard reaches in what `view` shows: while a focus
// scope group is visible, only the buttons inside the last one drawn
// count; otherwise only the buttons outside every scope.
FocusReach reachable_focusables(const std::vector<Node>& nodes, const FrameView& view);

class FocusNavigator {
 public:
  // Tab, Shift+Tab: shows the ring and moves it to the next (previous)
  // reachable control, wrapping around; from no place (or a place not
  // reachable now), to the first control after (before) it.
  void next(const FocusReach& reach);
  void previous(const FocusReach& reach);

  // The control wearing the focus, or nullptr.
  const Focusable* focused(const FocusReach& reach) const;
  // What to draw: the focused control's scope and order while the ring is
  // shown, else no ring.
  FocusMark mark(const FocusReach& reach) const;

  // A scope that opens while the ring shows (the results-view menu after
  // Enter on « Résultats ») starts on its first control, as a dialog does.
  void enter(const FocusReach& reach);

  void show_ring() { ring_ = true; }
  void hide_ring() { ring_ = false; }
  bool ring_shown() const { return ring_; }

 private:
  std::map<int, int> place_;  // scope -> focus order
  bool ring_ = false;
};

}  // namespace kvr::render

#endif
