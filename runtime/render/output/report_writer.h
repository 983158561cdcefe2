// Writing the report: a PDF (vector, text kept as text in the embedded
// DejaVu fonts) of the house's composition, the scene's page, condensation
// and mould and the « pistes d'amélioration » (report_house.h), and the
// scene's table as CSV beside it, with the house's composition, condensation
// and measures as CSV too; all named maison-rapport-YYYYmmdd-HHMMSS in the
// screenshot folder. Each file appears whole or not at all.
#ifndef KVR_RENDER_REPORT_WRITER_H
#define KVR_RENDER_REPORT_WRITER_H

#include <ctime>
#include <ostream>
#include <string>

#include "backend.h"

namespace kvr::render {

struct ReportPaths {
  std::string pdf;
  std::string csv;
};

// Names in `folder` for a report made at `when` that overwrite nothing:
// the first of STEM, STEM-2, STEM-3, ... for which neither file exists.
ReportPaths report_paths(const std::string& folder, std::time_t when);

// One file each; false (with the message on `errors`) when it cannot be
// written or the scene has no report page.
bool write_report_pdf(const std::string& path, const FrameView& view, std::time_t when,
                      std::ostream& errors);
bool write_report_csv(const std::string& path, const FrameView& view, std::ostream& errors);

// Every file, now (the house's only once the program handed it over);
// "report: PATH" on `errors` for each one written. The run goes on
// whatever happens.
bool write_report(const FrameView& view, const std::string& folder, std::ostream& errors);

}  // namespace kvr::render

#endif
