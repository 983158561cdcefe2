#include "widgets/focus_navigator.h"

#include <algorithm>

#include "values/records.h"

namespace kvr::render {

namespace {

bool live(const Node& n) {
  return n.style != ButtonStyle::Disabled && n.style != ButtonStyle::Inert;
}

struct Walk {
  const FrameView& view;
  int top_scope = -1;
  std::vector<Focusable> buttons;  // with their scope in `scopes`
  std::vector<int> scopes;

  void visit(const Node& n) {
    if (n.kind == Kind::SiteMarker) return;
    if (n.has_visible && !holds(n.visible, view)) return;
    if (n.is_scope) top_scope = n.focus_scope;
    if (n.kind == Kind::Button && n.focus >= 0 && live(n)) {
      buttons.push_back({n.focus, &n});
      scopes.push_back(n.focus_scope);
    }
    for (const Node& child : n.children) visit(child);
  }
};

}  // namespace

FocusReach reachable_focusables(const std::vector<Node>& nodes, const FrameView& view) {
  Walk walk{view, -1, {}, {}};
  for (const Node& n : nodes) walk.visit(n);
  FocusReach reach;
  reach.scope = walk.top_scope;
  for (std::size_t i = 0; i < walk.buttons.size(); ++i) {
    if (walk.scopes[i] != reach.scope) continue;
    const Focusable& f = walk.buttons[i];
    // Two buttons of one order (a menu button and its lit twin) are one
    // control: the one drawn last is the one seen.
    auto same = std::find_if(reach.items.begin(), reach.items.end(),
                             [&](const Focusable& g) { return g.order == f.order; });
    if (same != reach.items.end()) {
      *same = f;
    } else {
      reach.items.push_back(f);
    }
  }
  std::sort(reach.items.begin(), reach.items.end(),
            [](const Focusable& a, const Focusable& b) { return a.order < b.order; });
  return reach;
}

void FocusNavigator::next(const FocusReach& reach) {
  ring_ = true;
  if (reach.items.empty()) return;
  auto place = place_.find(reach.scope);
  const Focusable* target = &reach.items.front();
  if (place != place_.end()) {
    for (const Focusable& f : reach.items) {
      if (f.order > place->second) {
        target = &f;
        break;
      }
    }
  }
  place_[reach.scope] = target->order;
}

void FocusNavigator::previous(const FocusReach& reach) {
  ring_ = true;
  if (reach.items.empty()) return;
  auto place = place_.find(reach.scope);
  const Focusable* target = &reach.items.back();
  if (place != place_.end()) {
    for (auto it = reach.items.rbegin(); it != reach.items.rend(); ++it) {
      if (it->order < place->second) {
        target = &*it;
        break;
      }
    }
  }
  place_[reach.scope] = target->order;
}

void FocusNavigator::enter(const FocusReach& reach) {
  if (ring_ && !reach.items.empty() && place_.find(reach.scope) == place_.end())
    place_[reach.scope] = reach.items.front().order;
}

const Focusable* FocusNavigator::focused(const FocusReach& reach) const {
  auto place = place_.find(reach.scope);
  if (place == place_.end()) return nullptr;
  for (const Focusable& f : reach.items)
    if (f.order == place->second) return &f;
  return nullptr;
}

FocusMark FocusNavigator::mark(const FocusReach& reach) const {
  const Focusable* f = ring_ ? focused(reach) : nullptr;
  if (f == nullptr) return {};
  return {reach.scope, f->order};
}

}  // namespace kvr::render
