// The composition of a house: every choice of the eight panels in the
// program's own words (the texts its panels show) with their units,
// whether or not the panel was ever opened, as rows, as one line per
// panel, and as CSV beside the report.
#ifndef KVR_HOUSE_COMPOSITION_H
#define KVR_HOUSE_COMPOSITION_H

#include <ostream>
#include <string>
#include <vector>

#include "backend.h"
#include "kvrhouse.h"

namespace kvr::house {

struct CompositionRow {
  int panel;           // KvrHousePanel
  int row;             // 1 to 6: the stepper row and text field A<row> of the choice
  std::string choice;  // "isolant", "épaisseur d'isolant", ...
  std::string value;   // the program's text without its padding blanks
  std::string unit;    // "m", "vol/h", "°C" or empty
};

// « Murs », « Plancher », ... , « Site ».
const char* panel_name(int panel);

// The rows of one panel, or of all eight in the order of the panel menu.
std::vector<CompositionRow> panel_composition(const KvrHouse& house, const KvrHouseState& state,
                                              int panel);
std::vector<CompositionRow> composition(const KvrHouse& house, const KvrHouseState& state);

// One panel in one line: « Murs : brique pleine 0.105 m, laine de verre
// 0.200 m, enduit sans ». A choice of "sans" is named by its caption and
// its thickness left out; "s/o" is left out.
std::string composition_line(const KvrHouse& house, const KvrHouseState& state, int panel);

// The CSV of the composition: « panneau », « choix », « valeur », « unité »,
// and « référence valeur » while `reference` is given; RFC 4180 as the
// report's table (libcsv, every field quoted, CR LF).
std::string composition_csv(const KvrHouse& house, const KvrHouseState& state,
                            const KvrHouseState* reference);

// The composition's file beside the report's table: NAME.csv gives
// NAME-composition.csv.
std::string composition_path(const std::string& report_csv_path);

// Writes the composition of the view's house (with the pinned reference's
// column while one is pinned) atomically to `path`. False, with the
// message on `errors`, when the program handed over no house or the file
// cannot be written.
bool write_composition_csv(const std::string& path, const FrameView& view, std::ostream& errors);

}  // namespace kvr::house

#endif
