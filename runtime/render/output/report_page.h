// The printable report's page, laid out by the scene's "report" section
// with the same element kinds as the screen, plus scene regions (a part of
// the screen as it is now) and date texts. Drawn whole and straight onto
// the target, as SceneRenderer::draw() does: no bitmap is made, so that a
// vector surface stays vector.
#ifndef KVR_RENDER_REPORT_PAGE_H
#define KVR_RENDER_REPORT_PAGE_H

#include <cairo.h>

#include <ctime>
#include <memory>
#include <string>
#include <vector>

#include "backend.h"

namespace kvr::render {

class ReportPage {
 public:
  // Compiles the screen's elements and the page's; date texts show `when`.
  ReportPage(const Scene& scene, std::time_t when);
  ~ReportPage();
  ReportPage(const ReportPage&) = delete;
  ReportPage& operator=(const ReportPage&) = delete;

  bool present() const;  // false: the scene has no report section
  double width() const;  // points
  double height() const;
  const std::vector<std::string>& problems() const;

  // Draws the page into `cr`, whose units are points with y down (a PDF
  // page as Cairo makes it).
  void draw(cairo_t* cr, const FrameView& view) const;

 private:
  struct Compiled;
  std::unique_ptr<Compiled> compiled_;
};

}  // namespace kvr::render

#endif
