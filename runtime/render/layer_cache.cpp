#include "layer_cache.h"

#include <algorithm>
#include <cmath>

#include "records.h"
#include "text.h"

namespace kvr::render {

LayerCache::~LayerCache() {
  if (surface != nullptr) cairo_surface_destroy(surface);
}

LayerCaches::LayerCaches(int count) {
  caches_.resize(static_cast<std::size_t>(std::max(count, 0)));
  for (auto& cache : caches_) cache = std::make_unique<LayerCache>();
}

LayerCache* LayerCaches::at(int index) {
  if (index < 0 || static_cast<std::size_t>(index) >= caches_.size()) return nullptr;
  return caches_[static_cast<std::size_t>(index)].get();
}

namespace {

bool moving(const DrawContext& dc, const std::vector<int>& anims) {
  if (dc.view.state == nullptr) return false;
  for (int a : anims)
    if (dc.view.state->progress(*dc.view.scene, a, dc.now) < 1.0) return true;
  return false;
}

}  // namespace

bool LayerCaches::draw(const DrawContext& dc, const Node& n,
                       const std::function<void(const DrawContext&)>& draw_children) {
  LayerCache* found = at(n.layer.index);
  if (found == nullptr) return false;
  if (moving(dc, n.layer.anims)) return false;
  cairo_t* cr = dc.cr;
  const FrameView& view = dc.view;
  double dx1 = n.layer.x1, dy1 = n.layer.y2, dx2 = n.layer.x2, dy2 = n.layer.y1;
  cairo_user_to_device(cr, &dx1, &dy1);
  cairo_user_to_device(cr, &dx2, &dy2);
  int x = static_cast<int>(std::floor(std::min(dx1, dx2)));
  int y = static_cast<int>(std::floor(std::min(dy1, dy2)));
  int w = static_cast<int>(std::ceil(std::max(dx1, dx2))) - x;
  int h = static_cast<int>(std::ceil(std::max(dy1, dy2))) - y;
  if (w < 1 || h < 1) return true;
  key_.clear();
  auto put = [&](const void* p, std::size_t size) {
    const auto* b = static_cast<const unsigned char*>(p);
    key_.insert(key_.end(), b, b + size);
  };
  for (int var : n.layer.vars) {
    const unsigned char* bytes = record(view, var);
    unsigned char bound = bytes != nullptr ? 1 : 0;
    put(&bound, 1);
    if (bytes != nullptr) put(bytes, record_size(kind_of(view, var)));
  }
  std::uint64_t flags = view.state != nullptr ? view.state->flags & n.layer.flags : 0;
  put(&flags, sizeof flags);
  int hot = n.layer.buttons ? dc.interaction.look_key : -2;
  put(&hot, sizeof hot);
  if (n.layer.reference) {
    std::uint64_t pinned = view.reference != nullptr ? view.reference->generation() : 0;
    put(&pinned, sizeof pinned);
  }
  cairo_matrix_t m;
  cairo_get_matrix(cr, &m);
  put(&m, sizeof m);
  LayerCache& cache = *found;
  if (cache.surface == nullptr || cache.key != key_ || cache.x != x || cache.y != y ||
      cache.width != w || cache.height != h) {
    bool fresh = cache.surface == nullptr || cache.width != w || cache.height != h;
    if (fresh) {
      if (cache.surface != nullptr) cairo_surface_destroy(cache.surface);
      cache.surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, w, h);  // transparent
    }
    cairo_t* lc = cairo_create(cache.surface);
    if (!fresh) {
      cairo_set_operator(lc, CAIRO_OPERATOR_CLEAR);
      cairo_paint(lc);
      cairo_set_operator(lc, CAIRO_OPERATOR_OVER);
    }
    m.x0 -= x;
    m.y0 -= y;
    cairo_set_matrix(lc, &m);
    cairo_set_font_options(lc, dc.fonts.options());
    DrawContext inner{lc, dc.view, dc.now, dc.interaction, dc.fonts};
    draw_children(inner);
    cairo_destroy(lc);
    cache.key = key_;
    cache.x = x;
    cache.y = y;
    cache.width = w;
    cache.height = h;
  }
  cairo_save(cr);
  cairo_identity_matrix(cr);
  cairo_set_source_surface(cr, cache.surface, x, y);
  cairo_rectangle(cr, x, y, w, h);
  cairo_fill(cr);
  cairo_restore(cr);
  return true;
}

}  // namespace kvr::render
