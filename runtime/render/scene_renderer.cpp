#include "scene_renderer.h"

#include <cstdio>
#include <filesystem>
#include <iostream>
#include <system_error>

namespace kvr {

struct SceneRenderer::Compiled {
  int width = 800;
  int height = 600;
};

SceneRenderer::SceneRenderer(const Scene& scene) : compiled_(std::make_unique<Compiled>()) {
  compiled_->width = scene.width;
  compiled_->height = scene.height;
}

SceneRenderer::~SceneRenderer() = default;

void SceneRenderer::draw(cairo_t* cr, int width, int height, const FrameView& /*view*/,
                         double /*now*/, const PointerLook& /*pointer*/) const {
  cairo_save(cr);
  cairo_set_source_rgb(cr, 0.12, 0.13, 0.15);
  cairo_rectangle(cr, 0, 0, width, height);
  cairo_fill(cr);
  double sx = width / static_cast<double>(compiled_->width);
  double sy = height / static_cast<double>(compiled_->height);
  double s = sx < sy ? sx : sy;
  cairo_translate(cr, (width - s * compiled_->width) / 2.0, (height - s * compiled_->height) / 2.0);
  cairo_scale(cr, s, s);
  cairo_set_source_rgb(cr, 0.96, 0.96, 0.94);
  cairo_rectangle(cr, 0, 0, compiled_->width, compiled_->height);
  cairo_fill(cr);
  cairo_restore(cr);
}

bool write_scene_png(const std::string& path, const FrameView& view, int width, int height) {
  if (view.scene == nullptr || width < 1 || height < 1) {
    std::cerr << path << ": no scene to draw\n";
    return false;
  }
  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height);
  cairo_t* cr = cairo_create(surface);
  SceneRenderer renderer(*view.scene);
  renderer.draw(cr, width, height, view, 1e9, PointerLook{});
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
