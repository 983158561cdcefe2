#include "output/report_page.h"

#include "compile/compiler.h"
#include "frame/painter.h"
#include "model/draw_context.h"
#include "text/text.h"
#include "values/frame_values.h"

namespace kvr::render {

struct ReportPage::Compiled {
  bool present = false;
  double width = 595.28;  // A4 in points
  double height = 841.89;
  Fonts fonts;
  std::vector<Node> screen;  // the screen's elements, for scene regions
  // Where the screen's result views are: as on a window of the layout's
  // size.
  mutable ViewGrid grid;
  double screen_width = 800.0, screen_height = 600.0;
  std::vector<Node> page;
  std::vector<std::string> problems;
};

ReportPage::ReportPage(const Scene& scene, std::time_t when)
    : compiled_(std::make_unique<Compiled>()) {
  Compiled& c = *compiled_;
  if (!scene.report.is_object()) return;
  c.present = true;
  const nlohmann::json& page = scene.report["page"];
  c.width = page[0].get<double>();
  c.height = page[1].get<double>();
  TextMeasure measure(c.fonts);
  {
    ElementCompiler screen(scene, c.problems, measure);
    for (std::size_t i = 0; i < scene.elements.size(); ++i)
      c.screen.push_back(screen.element(scene.elements[i], "elements[" + std::to_string(i) + "]"));
    compile_grid(scene, c.screen, c.grid, c.problems);
    c.screen_width = scene.width;
    c.screen_height = scene.height;
  }
  ElementCompiler compiler(scene, c.problems, measure);
  compiler.for_report(when, &c.screen);
  const nlohmann::json& elements = scene.report["elements"];
  for (std::size_t i = 0; i < elements.size(); ++i)
    c.page.push_back(compiler.element(elements[i], "report.elements[" + std::to_string(i) + "]"));
}

ReportPage::~ReportPage() = default;

bool ReportPage::present() const {
  return compiled_->present;
}

double ReportPage::width() const {
  return compiled_->width;
}

double ReportPage::height() const {
  return compiled_->height;
}

const std::vector<std::string>& ReportPage::problems() const {
  return compiled_->problems;
}

void ReportPage::draw(cairo_t* cr, const FrameView& view) const {
  const Compiled& c = *compiled_;
  cairo_save(cr);
  cairo_set_source_rgb(cr, 1.0, 1.0, 1.0);
  cairo_paint(cr);
  // Points, origin at the bottom-left corner, y up, as on the screen.
  cairo_translate(cr, 0.0, c.height);
  cairo_scale(cr, 1.0, -1.0);
  cairo_set_font_options(cr, c.fonts.options());
  // Animations finished, no pointer and no focus ring: the page shows the
  // state, not the interaction. Every element is drawn (no culling) and
  // hatching is stroked (no masks), so the page stays vector.
  FrameValues values;
  DrawContext dc{cr, view, 1e12, Interaction{PointerLook{}}, c.fonts, nullptr, nullptr, &values};
  int w = static_cast<int>(c.screen_width), h = static_cast<int>(c.screen_height);
  dc.placements = c.grid.update(view, LayoutTransform(w, h, c.screen_width, c.screen_height),
                                c.screen_width, c.screen_height);
  Painter painter(dc);
  for (const Node& n : c.page) painter.node(n);
  cairo_restore(cr);
}

}  // namespace kvr::render
