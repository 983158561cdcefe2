// The report's pages about the program's house (KvHouse), worked out by
// runtime/house/: the composition (every choice of the eight panels, with
// the pinned reference's beside it) before the scene's page; condensation
// and mould on the inner surfaces at the runtime's humidity, and the
// « pistes d'amélioration » in full, after it. The last two also as tables
// beside the report's CSV.
#ifndef KVR_RENDER_OUTPUT_REPORT_HOUSE_H
#define KVR_RENDER_OUTPUT_REPORT_HOUSE_H

#include "backend.h"
#include "output/csv_table.h"
#include "output/report_flow.h"

namespace kvr::render {

struct HouseReport {
  std::vector<FlowSection> before;  // the pages before the scene's page
  std::vector<FlowSection> after;   // and after it
};

// Both empty while the program has handed over no house.
HouseReport house_report(const FrameView& view);

// The tables of NAME-condensation.csv and NAME-pistes.csv: a header line,
// then one line per surface, or per measure and « sobriété » last. Empty
// while there is no house.
CsvRows moisture_csv_rows(const FrameView& view);
CsvRows measures_csv_rows(const FrameView& view);

}  // namespace kvr::render

#endif
