// The picture of the scene's setting: the leading top-level groups that
// keep to a layer region (in HOME.SP1 the house and its cut-open view),
// under everything else. A frame drawn by its changes on an image target
// copies it under its damage rather than drawing those groups again; where
// they changed (a slide, a recolouring) it is brought up to date first. It
// is made at the first such frame at a size.
#ifndef KVR_RENDER_BACKDROP_H
#define KVR_RENDER_BACKDROP_H

#include <cairo.h>

#include <cstddef>
#include <vector>

#include "model/element_model.h"

namespace kvr::render {

class Backdrop {
 public:
  Backdrop() = default;
  ~Backdrop();
  Backdrop(const Backdrop&) = delete;
  Backdrop& operator=(const Backdrop&) = delete;

  // The setting of these compiled nodes, and the slots it draws (those
  // below `slots`: slots are numbered in drawing order).
  void hold(const std::vector<Node>& nodes, const std::vector<int>& slots_after);
  std::size_t nodes() const { return nodes_; }
  int slots() const { return slots_; }

  // The picture for a target of this size and format (nullptr when there
  // is no setting, the format is not one of RGB24 and ARGB32, or the
  // surface cannot be made). `current` tells whether it shows the setting
  // as it was last drawn; a new picture does not.
  cairo_surface_t* picture(int width, int height, cairo_format_t format, bool& current);
  // The picture, only when it shows the setting as it was last drawn at
  // this size and format.
  cairo_surface_t* current(int width, int height, cairo_format_t format) const {
    return current_ && surface_ != nullptr && width == width_ && height == height_ &&
                   format == format_
               ? surface_
               : nullptr;
  }
  // The setting is drawn as it is now (true), or changed in a frame that
  // did not bring the picture up to date (false).
  void set_current(bool current) { current_ = current; }

 private:
  std::size_t nodes_ = 0;
  int slots_ = 0;
  cairo_surface_t* surface_ = nullptr;
  int width_ = 0, height_ = 0;
  cairo_format_t format_ = CAIRO_FORMAT_INVALID;
  bool current_ = false;
};

}  // namespace kvr::render

#endif
