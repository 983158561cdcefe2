#include "output/report_writer.h"

#include <cairo-pdf.h>

#include <filesystem>

#include "atomic_file.h"
#include "composition.h"
#include "output/cairo_file_stream.h"
#include "output/csv_table.h"
#include "output/report_page.h"

namespace kvr::render {

ReportPaths report_paths(const std::string& folder, std::time_t when) {
  char stamp[32];
  std::tm local{};
  localtime_r(&when, &local);
  std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", &local);
  std::filesystem::path dir = folder.empty() ? "." : folder;
  std::string stem = std::string("maison-rapport-") + stamp;
  for (int n = 1;; ++n) {
    std::string name = n == 1 ? stem : stem + "-" + std::to_string(n);
    ReportPaths paths{(dir / (name + ".pdf")).string(), (dir / (name + ".csv")).string()};
    std::error_code ec;
    if (!std::filesystem::exists(paths.pdf, ec) && !std::filesystem::exists(paths.csv, ec))
      return paths;
  }
}

bool write_report_pdf(const std::string& path, const FrameView& view, std::time_t when,
                      std::ostream& errors) {
  if (view.scene == nullptr) {
    errors << path << ": cannot write the report: no scene is loaded\n";
    return false;
  }
  ReportPage page(*view.scene, when);
  if (!page.present()) {
    errors << path << ": cannot write the report: " << view.scene->file << " has no report page\n";
    return false;
  }
  AtomicFile file(path, "the report", errors);
  if (!file.ok()) return false;
  cairo_surface_t* surface =
      cairo_pdf_surface_create_for_stream(write_to_atomic_file, &file, page.width(), page.height());
  cairo_pdf_surface_set_metadata(surface, CAIRO_PDF_METADATA_TITLE, "Maison : rapport");
  cairo_pdf_surface_set_metadata(surface, CAIRO_PDF_METADATA_CREATOR, "maison (KvrRun)");
  cairo_t* cr = cairo_create(surface);
  page.draw(cr, view);
  cairo_show_page(cr);
  cairo_status_t status = cairo_status(cr);
  cairo_destroy(cr);
  cairo_surface_finish(surface);
  if (status == CAIRO_STATUS_SUCCESS) status = cairo_surface_status(surface);
  cairo_surface_destroy(surface);
  if (status != CAIRO_STATUS_SUCCESS) {
    // A failed write has been reported by the file already.
    if (file.ok())
      errors << path << ": cannot write the report: " << cairo_status_to_string(status) << "\n";
    file.discard();
    return false;
  }
  return file.commit();
}

bool write_report_csv(const std::string& path, const FrameView& view, std::ostream& errors) {
  CsvRows rows = report_csv_rows(view);
  if (rows.empty()) {
    errors << path << ": cannot write the report's table: the scene has no report table\n";
    return false;
  }
  return write_file_atomically(path, csv_text(rows), "the report's table", errors);
}

bool write_report(const FrameView& view, const std::string& folder, std::ostream& errors) {
  std::time_t when = std::time(nullptr);
  ReportPaths paths = report_paths(folder, when);
  bool pdf = write_report_pdf(paths.pdf, view, when, errors);
  if (pdf) errors << "report: " << paths.pdf << "\n";
  bool csv = write_report_csv(paths.csv, view, errors);
  if (csv) errors << "report: " << paths.csv << "\n";
  // The house it describes, every panel's choices, beside the table.
  bool composition = true;
  if (view.house != nullptr) {
    std::string path = house::composition_path(paths.csv);
    composition = house::write_composition_csv(path, view, errors);
    if (composition) errors << "report: " << path << "\n";
  }
  return pdf && csv && composition;
}

}  // namespace kvr::render
