// Pictures of the scene as PNG files: the headless backend's pictures and
// the window's screenshots, written whole or not at all.
#include <cairo.h>

#include <iostream>

#include "atomic_file.h"
#include "cairo_file_stream.h"
#include "scene_renderer.h"

namespace kvr {

bool write_scene_png(const std::string& path, const FrameView& view, int width, int height,
                     const PointerLook& look) {
  if (view.scene == nullptr || width < 1 || height < 1) {
    std::cerr << path << ": no scene to draw\n";
    return false;
  }
  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height);
  cairo_t* cr = cairo_create(surface);
  {
    SceneRenderer renderer(*view.scene);
    // Pictures show every animation finished.
    renderer.draw(cr, width, height, view, 1e12, look);
  }
  cairo_destroy(cr);
  AtomicFile file(path, "the picture", std::cerr);
  if (!file.ok()) {
    cairo_surface_destroy(surface);
    return false;
  }
  cairo_status_t status = cairo_surface_write_to_png_stream(surface, write_to_atomic_file, &file);
  cairo_surface_destroy(surface);
  if (status != CAIRO_STATUS_SUCCESS) {
    // A failed write has been reported by the file already.
    if (file.ok())
      std::cerr << path << ": cannot write the picture: " << cairo_status_to_string(status) << "\n";
    file.discard();
    return false;
  }
  return file.commit();
}

}  // namespace kvr
