#include "output/report_writer.h"

#include <cairo-pdf.h>

#include <filesystem>
#include <string_view>
#include <utility>

#include "atomic_file.h"
#include "composition.h"
#include "model/palette.h"
#include "output/cairo_file_stream.h"
#include "output/csv_table.h"
#include "output/report_flow.h"
#include "output/report_house.h"
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

namespace {

// The running head of the runtime's own pages and the page number at the
// foot of every page, in points with y down as the PDF page comes.
void page_marks(cairo_t* cr, const Fonts& fonts, const FlowFrame& frame, const std::string& head,
                int number, int total) {
  cairo_save(cr);
  cairo_translate(cr, 0.0, frame.height);
  cairo_scale(cr, 1.0, -1.0);
  cairo_set_font_options(cr, fonts.options());
  if (!head.empty()) {
    draw_text(cr, fonts, head, frame.left, frame.height - 34.0, 8.0, false, Align::Left,
              kLook.muted, 0.0);
    set_rgba(cr, {0.67, 0.70, 0.75, 1.0});
    cairo_set_line_width(cr, 0.8);
    cairo_move_to(cr, frame.left, frame.height - 42.0);
    cairo_line_to(cr, frame.width - frame.right, frame.height - 42.0);
    cairo_stroke(cr);
    draw_text(cr, fonts, "maison : simulateur de déperditions thermiques",
              frame.width - frame.right, 14.0, 7.0, false, Align::Right, kLook.muted, 0.0);
  }
  if (total > 1)
    draw_text(cr, fonts, "page " + std::to_string(number) + " / " + std::to_string(total),
              frame.left, 14.0, 7.0, false, Align::Left, kLook.muted, 0.0);
  cairo_restore(cr);
}

std::string running_head(std::time_t when) {
  char date[64];
  std::tm local{};
  localtime_r(&when, &local);
  std::strftime(date, sizeof date, "%d/%m/%Y à %H:%M", &local);
  return std::string("Déperditions thermiques d'une maison · rapport établi le ") + date;
}

}  // namespace

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
  // The house's pages around the scene's, laid out before anything is
  // written so that every page knows how many there are.
  Fonts fonts;
  FlowFrame frame;
  frame.width = page.width();
  frame.height = page.height();
  HouseReport house = house_report(view);
  std::vector<FlowPage> before = lay_out_flow(house.before, frame, fonts);
  std::vector<FlowPage> after = lay_out_flow(house.after, frame, fonts);
  const int total = static_cast<int>(before.size() + 1 + after.size());
  const std::string head = running_head(when);
  AtomicFile file(path, "the report", errors);
  if (!file.ok()) return false;
  cairo_surface_t* surface =
      cairo_pdf_surface_create_for_stream(write_to_atomic_file, &file, page.width(), page.height());
  cairo_pdf_surface_set_metadata(surface, CAIRO_PDF_METADATA_TITLE, "Maison : rapport");
  cairo_pdf_surface_set_metadata(surface, CAIRO_PDF_METADATA_CREATOR, "maison (KvrRun)");
  cairo_t* cr = cairo_create(surface);
  int number = 0;
  auto flow_pages = [&](const std::vector<FlowPage>& pages) {
    for (const FlowPage& p : pages) {
      draw_flow_page(cr, p, frame, fonts);
      page_marks(cr, fonts, frame, head, ++number, total);
      cairo_show_page(cr);
    }
  };
  flow_pages(before);
  page.draw(cr, view);
  page_marks(cr, fonts, frame, "", ++number, total);
  cairo_show_page(cr);
  flow_pages(after);
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

namespace {

// NAME.csv gives NAME-what.csv.
std::string beside(const std::string& csv_path, const std::string& what) {
  constexpr std::string_view suffix = ".csv";
  std::string_view stem = csv_path;
  if (stem.size() >= suffix.size() && stem.substr(stem.size() - suffix.size()) == suffix)
    stem.remove_suffix(suffix.size());
  return std::string(stem) + "-" + what + ".csv";
}

}  // namespace

bool write_report(const FrameView& view, const std::string& folder, std::ostream& errors) {
  std::time_t when = std::time(nullptr);
  ReportPaths paths = report_paths(folder, when);
  bool pdf = write_report_pdf(paths.pdf, view, when, errors);
  if (pdf) errors << "report: " << paths.pdf << "\n";
  bool csv = write_report_csv(paths.csv, view, errors);
  if (csv) errors << "report: " << paths.csv << "\n";
  if (view.house == nullptr) return pdf && csv;
  // The house it describes beside the table: every panel's choices, its
  // surfaces at risk and the measures that would improve it.
  std::string path = house::composition_path(paths.csv);
  bool house = house::write_composition_csv(path, view, errors);
  if (house) errors << "report: " << path << "\n";
  const std::pair<const char*, CsvRows (*)(const FrameView&)> tables[] = {
      {"condensation", &moisture_csv_rows}, {"pistes", &measures_csv_rows}};
  for (const auto& [what, rows_of] : tables) {
    path = beside(paths.csv, what);
    CsvRows rows = rows_of(view);
    bool written =
        !rows.empty() &&
        write_file_atomically(path, csv_text(rows), std::string("the ") + what + " table", errors);
    if (written) errors << "report: " << path << "\n";
    house = house && written;
  }
  return pdf && csv && house;
}

}  // namespace kvr::render
