// The report's table as CSV: the scene's "report.csv" section names the
// header and the bound text of every cell; while a reference is pinned,
// every value column gets a twin with the pinned copy. Values are the
// program's texts without their padding blanks; an element without a value
// has an empty cell, so every line has the same number of fields.
#ifndef KVR_RENDER_CSV_TABLE_H
#define KVR_RENDER_CSV_TABLE_H

#include <string>
#include <vector>

#include "backend.h"

namespace kvr::render {

using CsvRows = std::vector<std::vector<std::string>>;

// The header line, then one line per row of the section; empty when the
// scene has no such section.
CsvRows report_csv_rows(const FrameView& view);

// RFC 4180 text: fields quoted (quotes doubled) by libcsv, separated by
// commas, lines ended by CR LF; UTF-8 as the cells are.
std::string csv_text(const CsvRows& rows);

}  // namespace kvr::render

#endif
