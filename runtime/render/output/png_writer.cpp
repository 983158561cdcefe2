// Pictures of the scene as PNG files: the headless backend's pictures and
// the window's screenshots, written through AtomicFile so that a failed
// write leaves no half picture under the final name.
#include "output/png_writer.h"

#include <cairo.h>

#include <iostream>

#include "atomic_file.h"
#include "frame/scene_renderer.h"
#include "output/cairo_file_stream.h"

namespace kvr {

bool write_scene_png(const std::string& path, const FrameView& view, int width, int height,
                     const PointerLook& look, const std::string& what) {
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
  AtomicFile file(path, what);
  cairo_status_t status =
      file.ok() ? cairo_surface_write_to_png_stream(surface, &write_to_atomic_file, &file)
                : CAIRO_STATUS_WRITE_ERROR;
  cairo_surface_destroy(surface);
  if (!file.ok()) return false;  // already reported
  if (status != CAIRO_STATUS_SUCCESS) {
    std::cerr << path << ": cannot write " << what << ": " << cairo_status_to_string(status)
              << "\n";
    file.discard();
    return false;
  }
  return file.commit();
}

}  // namespace kvr
