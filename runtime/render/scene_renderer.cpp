#include "scene_renderer.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <optional>

#include "backdrop.h"
#include "buttons.h"
#include "compiler.h"
#include "draw_context.h"
#include "element_model.h"
#include "frame_tracker.h"
#include "hatch_masks.h"
#include "layout_transform.h"
#include "paint_bands.h"
#include "paint_helper.h"
#include "painter.h"
#include "text.h"

namespace kvr {

using namespace render;

namespace {

// Which top-level nodes a paint draws, and whether the letterbox and the
// layout's paper under them.
struct Part {
  std::size_t from = 0, to = static_cast<std::size_t>(-1);
  bool ground = true;
};

}  // namespace

struct SceneRenderer::Compiled {
  double width = 800.0;
  double height = 600.0;
  Fonts fonts;
  std::vector<Node> nodes;
  std::vector<std::string> problems;
  FrameTracker tracker{0};
  HatchMasks hatch_masks{0};
  Bands bands = PaintHelper::worthwhile() ? Bands::WhilePaying : Bands::Never;
  // Of the damaged area, what the top (left) band paints.
  double top_share = 0.5;
  long banded = 0;  // frames painted in bands
  PaintHelper helper;
  std::vector<DeviceRect> band_damage[2];
  BandVerdict verdict;
  Backdrop backdrop;
  long over_backdrop = 0;  // frames drawn over the picture of the setting

  // The letterbox, the layout's paper and the elements (those `culling`
  // asks for, or all), on a target whose matrix is the identity.
  void paint(cairo_t* cr, const LayoutTransform& t, const FrameView& view, double now,
             const PointerLook& pointer, const Culling* culling, HatchMasks* masks,
             Part part = {}) const;

  // The picture of the setting for a frame drawn by its changes on an
  // image target: made whole when it is not up to date, brought up to date
  // in the damage where the setting changed. Nullptr when there is none.
  cairo_surface_t* backdrop_for(cairo_t* cr, const LayoutTransform& t, const FrameView& view,
                                double now, const PointerLook& pointer,
                                const std::vector<DeviceRect>& damage, bool setting_changed);

  // Paints the damage of an image target in two bands at once, one on the
  // helper thread; false when it is not worth it, nothing painted then.
  // With a picture of the setting, both bands start from it.
  bool paint_in_bands(cairo_t* cr, const LayoutTransform& t, const FrameView& view, double now,
                      const PointerLook& pointer, const std::vector<DeviceRect>& damage,
                      cairo_surface_t* picture);
};

SceneRenderer::SceneRenderer(const Scene& scene) : compiled_(std::make_unique<Compiled>()) {
  Compiled& c = *compiled_;
  c.width = scene.width;
  c.height = scene.height;
  // The compiler measures with the fonts the renderer keeps: the layouts
  // made for the bounds of literal texts serve their drawing too.
  TextMeasure measure(c.fonts);
  ElementCompiler compiler(scene, c.problems, measure);
  std::vector<int> slots_after;  // the slots used by each node and those before it
  if (scene.elements.is_array()) {
    for (std::size_t i = 0; i < scene.elements.size(); ++i) {
      c.nodes.push_back(compiler.element(scene.elements[i], "elements[" + std::to_string(i) + "]"));
      slots_after.push_back(compiler.leaves());
    }
  }
  c.tracker = FrameTracker(compiler.leaves());
  c.hatch_masks = HatchMasks(compiler.leaves());
  c.backdrop.hold(c.nodes, slots_after);
}

SceneRenderer::~SceneRenderer() = default;

const std::vector<std::string>& SceneRenderer::problems() const {
  return compiled_->problems;
}

const std::vector<Node>& SceneRenderer::nodes() const {
  return compiled_->nodes;
}

void SceneRenderer::Compiled::paint(cairo_t* cr, const LayoutTransform& t, const FrameView& view,
                                    double now, const PointerLook& pointer, const Culling* culling,
                                    HatchMasks* masks, Part part) const {
  cairo_save(cr);
  double w = t.width, h = t.height;
  double s = t.scale;
  // Letterbox bars, drawn only where the layout leaves room.
  double bar_x = (w - s * width) / 2.0, bar_y = (h - s * height) / 2.0;
  cairo_set_source_rgb(cr, 0.10, 0.11, 0.13);
  if (bar_x > 0.0 && part.ground) {
    cairo_rectangle(cr, 0.0, 0.0, std::ceil(bar_x), h);
    cairo_rectangle(cr, std::floor(w - bar_x), 0.0, std::ceil(bar_x), h);
  }
  if (bar_y > 0.0 && part.ground) {
    cairo_rectangle(cr, 0.0, 0.0, w, std::ceil(bar_y));
    cairo_rectangle(cr, 0.0, std::floor(h - bar_y), w, std::ceil(bar_y));
  }
  cairo_fill(cr);
  // Layout units, origin at the bottom-left corner, y up.
  t.apply(cr);
  cairo_rectangle(cr, 0.0, 0.0, width, height);
  cairo_clip(cr);
  if (part.ground) {
    cairo_set_source_rgb(cr, 0.97, 0.97, 0.95);
    cairo_paint(cr);
  }
  cairo_set_font_options(cr, fonts.options());
  plain_strokes(cr);
  if (view.scene != nullptr) {
    DrawContext dc{cr, view, now, Interaction{pointer}, fonts, culling, masks};
    Painter painter(dc);
    for (std::size_t i = part.from; i < nodes.size() && i < part.to; ++i) painter.node(nodes[i]);
  }
  cairo_restore(cr);
}

cairo_surface_t* SceneRenderer::Compiled::backdrop_for(cairo_t* cr, const LayoutTransform& t,
                                                       const FrameView& view, double now,
                                                       const PointerLook& pointer,
                                                       const std::vector<DeviceRect>& damage,
                                                       bool setting_changed) {
  cairo_surface_t* target = cairo_get_target(cr);
  if (cairo_surface_get_type(target) != CAIRO_SURFACE_TYPE_IMAGE) return nullptr;
  bool current = false;
  cairo_surface_t* picture =
      backdrop.picture(t.width, t.height, cairo_image_surface_get_format(target), current);
  if (picture == nullptr || (current && !setting_changed)) return picture;
  // A new picture is drawn whole, one out of date where it changed.
  cairo_t* pc = cairo_create(picture);
  Culling culling{&damage, &tracker.rects()};
  if (current) {
    for (const DeviceRect& r : damage) cairo_rectangle(pc, r.x, r.y, r.width, r.height);
    cairo_clip(pc);
  }
  paint(pc, t, view, now, pointer, current ? &culling : nullptr, &hatch_masks,
        {0, backdrop.nodes(), true});
  cairo_destroy(pc);
  cairo_surface_flush(picture);
  backdrop.set_current(true);
  return picture;
}

// Each band is painted through its own context: the top (left) one on the
// target, the other on a surface over the same pixels from the seam on,
// shifted by the seam so that every element lands where it would in one
// piece. Each is clipped to its part of the damage, so the two threads
// never write the same pixel.
bool SceneRenderer::Compiled::paint_in_bands(cairo_t* cr, const LayoutTransform& t,
                                             const FrameView& view, double now,
                                             const PointerLook& pointer,
                                             const std::vector<DeviceRect>& damage,
                                             cairo_surface_t* picture) {
  if (bands == Bands::WhilePaying && !verdict.allows(std::chrono::steady_clock::now()))
    return false;
  cairo_surface_t* target = cairo_get_target(cr);
  cairo_format_t format = cairo_image_surface_get_format(target);
  unsigned char* data = cairo_image_surface_get_data(target);
  if (data == nullptr || (format != CAIRO_FORMAT_RGB24 && format != CAIRO_FORMAT_ARGB32))
    return false;
  int stride = cairo_image_surface_get_stride(target);
  int rows = cairo_image_surface_get_height(target);
  int columns = cairo_image_surface_get_width(target);
  // Bands of rows: each thread writes runs of memory of its own. A damage
  // whose middle rows all run through texts (the camera view) is painted
  // by one thread: bands of columns there, measured, took longer than one
  // thread, the two halves sharing most of their elements and every row.
  // A frame that starts from the picture of the setting draws much less
  // for each damaged pixel: bands pay off there only for twice the area
  // (a click with every result view open and a reference pinned, 126,000
  // pixels: 0.55 ms on one thread, 0.70 ms in bands).
  std::optional<int> seam = seam_row(
      damage, top_share, [this](int row) { return tracker.cuts_text(row); },
      picture != nullptr ? 2 * kBandMinArea : kBandMinArea);
  if (!seam || *seam <= 0 || *seam >= rows) return false;
  rows_of(damage, 0, *seam, band_damage[0]);
  rows_of(damage, *seam, rows, band_damage[1]);
  cairo_surface_flush(target);
  cairo_surface_t* lower = cairo_image_surface_create_for_data(
      data + static_cast<std::ptrdiff_t>(*seam) * stride, format, columns, rows - *seam, stride);
  cairo_surface_set_device_offset(lower, 0.0, -*seam);
  cairo_t* lower_cr = cairo_create(lower);
  // Each band reads the picture of the setting through a surface of its
  // own: the two threads share its pixels, not Cairo's objects.
  cairo_surface_t* sources[2] = {nullptr, nullptr};
  if (picture != nullptr) {
    cairo_surface_flush(picture);
    for (cairo_surface_t*& source : sources)
      source = cairo_image_surface_create_for_data(cairo_image_surface_get_data(picture), format,
                                                   t.width, t.height,
                                                   cairo_image_surface_get_stride(picture));
    ++over_backdrop;
  }
  auto band = [&](cairo_t* to, const std::vector<DeviceRect>& part, cairo_surface_t* source) {
    Culling culling{&part, &tracker.rects()};
    cairo_save(to);
    cairo_identity_matrix(to);
    for (const DeviceRect& r : part) cairo_rectangle(to, r.x, r.y, r.width, r.height);
    cairo_clip(to);
    Part which;
    if (source != nullptr) {
      cairo_set_source_surface(to, source, 0.0, 0.0);
      cairo_paint(to);
      which = {backdrop.nodes(), static_cast<std::size_t>(-1), false};
    }
    paint(to, t, view, now, pointer, &culling, &hatch_masks, which);
    cairo_restore(to);
  };
  // Each band's processor time tells how the work lies in the damage; the
  // next seam shares it out accordingly (a resize draws many alike frames).
  using Clock = std::chrono::steady_clock;
  double top_ms = 0.0, bottom_ms = 0.0;
  auto timed = [&band](cairo_t* to, const std::vector<DeviceRect>& part, cairo_surface_t* source,
                       double& ms) {
    double start = thread_cpu_ms();
    band(to, part, source);
    ms = thread_cpu_ms() - start;
  };
  auto theirs = [&] { timed(lower_cr, band_damage[1], sources[1], bottom_ms); };
  Clock::time_point start = Clock::now();
  bool helped = helper.together(theirs, [&] { timed(cr, band_damage[0], sources[0], top_ms); });
  double elapsed = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
  top_share = next_share(area_share(damage, *seam), top_ms, bottom_ms);
  ++banded;
  // With the other core busy elsewhere the two bands take turns on one, or
  // the helper begins too late and this thread paints both; either costs
  // more than one thread painting it all: after a run of such frames one
  // thread paints for a while, then two are tried again.
  BandOutcome outcome = !helped                                      ? BandOutcome::HelperLate
                        : bands_paid_off(elapsed, top_ms, bottom_ms) ? BandOutcome::PaidOff
                                                                     : BandOutcome::TookTurns;
  verdict.record(outcome, Clock::now());
  cairo_destroy(lower_cr);
  for (cairo_surface_t* source : sources)
    if (source != nullptr) cairo_surface_destroy(source);
  cairo_surface_flush(lower);
  cairo_surface_destroy(lower);
  cairo_surface_mark_dirty(target);
  return true;
}

void SceneRenderer::draw(cairo_t* cr, int width, int height, const FrameView& view, double now,
                         const PointerLook& pointer) const {
  const Compiled& c = *compiled_;
  c.fonts.trim();
  LayoutTransform t(width, height, c.width, c.height);
  cairo_save(cr);
  c.paint(cr, t, view, now, pointer, nullptr, nullptr);
  cairo_restore(cr);
}

std::vector<DeviceRect> SceneRenderer::update(cairo_t* cr, int width, int height,
                                              const FrameView& view, double now,
                                              const PointerLook& pointer) {
  Compiled& c = *compiled_;
  LayoutTransform t(width, height, c.width, c.height);
  if (view.scene == nullptr) {
    c.tracker.forget();
    draw(cr, width, height, view, now, pointer);
    return {{0, 0, width, height}};
  }
  c.fonts.trim();
  DrawContext dc{cr, view, now, Interaction{pointer}, c.fonts, nullptr};
  std::vector<DeviceRect> damage = c.tracker.track(c.nodes, dc, t);
  if (damage.empty()) return damage;
  bool setting_changed = c.tracker.first_change() < c.backdrop.slots();
  bool whole = damage.size() == 1 && damage[0] == DeviceRect{0, 0, width, height};
  // Hatching is kept as masks only for a raster target.
  bool raster = cairo_surface_get_type(cairo_get_target(cr)) == CAIRO_SURFACE_TYPE_IMAGE;
  // A frame drawn by its changes starts from the picture of the setting,
  // unless the setting changed over a damage large enough for two bands:
  // they draw it faster than one thread brings the picture up to date.
  bool large = c.bands != Bands::Never && damaged_area(damage) >= kBandMinArea;
  cairo_surface_t* picture = nullptr;
  if (raster && !whole && !(setting_changed && large))
    picture = c.backdrop_for(cr, t, view, now, pointer, damage, setting_changed);
  if (picture == nullptr && setting_changed) c.backdrop.set_current(false);
  if (raster && c.bands != Bands::Never &&
      c.paint_in_bands(cr, t, view, now, pointer, damage, picture))
    return damage;
  cairo_save(cr);
  Culling culling{&damage, &c.tracker.rects()};
  if (!whole) {
    cairo_identity_matrix(cr);
    for (const DeviceRect& r : damage) cairo_rectangle(cr, r.x, r.y, r.width, r.height);
    cairo_clip(cr);
  }
  Part part;
  if (picture != nullptr) {
    // The picture is opaque (the paper is): painted over, it is copied.
    cairo_set_source_surface(cr, picture, 0.0, 0.0);
    cairo_paint(cr);
    part = {c.backdrop.nodes(), static_cast<std::size_t>(-1), false};
    ++c.over_backdrop;
  }
  c.paint(cr, t, view, now, pointer, whole ? nullptr : &culling, raster ? &c.hatch_masks : nullptr,
          part);
  cairo_restore(cr);
  return damage;
}

void SceneRenderer::paint_in_bands(Bands how) {
  compiled_->bands = PaintHelper::worthwhile() ? how : Bands::Never;
}

long SceneRenderer::frames_in_bands() const {
  return compiled_->banded;
}

long SceneRenderer::frames_over_backdrop() const {
  return compiled_->over_backdrop;
}

void SceneRenderer::forget() {
  compiled_->tracker.forget();
}

int SceneRenderer::look_key(const FrameView& view, const PointerLook& pointer) const {
  if (view.scene == nullptr) return -1;
  int hot = -1;
  for (const Node& n : compiled_->nodes) {
    int h = hot_button(n, view, pointer);
    if (h >= 0) hot = h;
  }
  // Sliding groups move their buttons; the look follows the layout at rest.
  return hot < 0 ? -1 : hot * 2 + (pointer.buttons == 1 ? 1 : 0);
}

}  // namespace kvr
