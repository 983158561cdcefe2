// Layers at drawing time: each layer group is kept as a picture of its
// region in device pixels, drawn again only when its key (the bytes of the
// records it reads, its flags, the lit button, the transform) changes.
#ifndef KVR_RENDER_LAYER_CACHE_H
#define KVR_RENDER_LAYER_CACHE_H

#include <cairo.h>

#include <functional>
#include <memory>
#include <vector>

#include "draw_context.h"
#include "element_model.h"

namespace kvr::render {

// The picture of one layer and what it was drawn from.
struct LayerCache {
  cairo_surface_t* surface = nullptr;
  std::vector<unsigned char> key;
  int x = 0, y = 0, width = 0, height = 0;  // device pixels

  LayerCache() = default;
  LayerCache(const LayerCache&) = delete;
  LayerCache& operator=(const LayerCache&) = delete;
  ~LayerCache();
};

// The pictures of every layer of a scene, by LayerSpec::index.
class LayerCaches {
 public:
  explicit LayerCaches(int count);
  LayerCache* at(int index);

  // Draws layer group `n` from its picture, redrawing the picture first
  // (through `draw_children`, on the picture's own context) when its key
  // has changed. False: draw the group directly (it is animating, or it
  // has no picture).
  bool draw(const DrawContext& dc, const Node& n,
            const std::function<void(const DrawContext&)>& draw_children);

 private:
  std::vector<std::unique_ptr<LayerCache>> caches_;
  std::vector<unsigned char> key_;  // scratch, kept to avoid reallocating
};

}  // namespace kvr::render

#endif
