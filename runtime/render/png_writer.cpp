// Pictures of the scene as PNG files: the headless backend's pictures and
// the window's screenshots.
#include <cairo.h>

#include <filesystem>
#include <iostream>
#include <system_error>

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
  std::string temp = path + ".part";
  cairo_status_t status = cairo_surface_write_to_png(surface, temp.c_str());
  cairo_surface_destroy(surface);
  std::error_code ec;
  if (status != CAIRO_STATUS_SUCCESS) {
    std::filesystem::remove(temp, ec);
    std::cerr << path << ": cannot write the picture: " << cairo_status_to_string(status) << "\n";
    return false;
  }
  std::filesystem::rename(temp, path, ec);
  if (ec) {
    std::filesystem::remove(temp, ec);
    std::cerr << path << ": cannot write the picture: " << ec.message() << "\n";
    return false;
  }
  return true;
}

}  // namespace kvr
