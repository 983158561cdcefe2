#include "composition.h"

#include <csv.h>

#include <string_view>

#include "atomic_file.h"

namespace kvr::house {
namespace {

struct RowCaption {
  int panel;
  int row;
  const char* choice;
  const char* unit;
  int group;  // rows of one group are written together in the line
};

// Every row each panel writes, with the words and unit of its text.
constexpr RowCaption captions[] = {
    {KVR_PANEL_WALLS, 1, "matériau", "", 0},
    {KVR_PANEL_WALLS, 2, "épaisseur", "m", 0},
    {KVR_PANEL_WALLS, 3, "isolant", "", 1},
    {KVR_PANEL_WALLS, 4, "épaisseur d'isolant", "m", 1},
    {KVR_PANEL_WALLS, 5, "enduit", "", 2},
    {KVR_PANEL_WALLS, 6, "épaisseur d'enduit", "m", 2},
    {KVR_PANEL_FLOOR, 1, "matériau", "", 0},
    {KVR_PANEL_FLOOR, 2, "épaisseur", "m", 0},
    {KVR_PANEL_FLOOR, 3, "isolant", "", 1},
    {KVR_PANEL_FLOOR, 4, "épaisseur d'isolant", "m", 1},
    {KVR_PANEL_CEILING, 1, "matériau", "", 0},
    {KVR_PANEL_CEILING, 2, "épaisseur", "m", 0},
    {KVR_PANEL_CEILING, 3, "isolant", "", 1},
    {KVR_PANEL_CEILING, 4, "épaisseur d'isolant", "m", 1},
    {KVR_PANEL_CRAWLSPACE, 1, "vide sanitaire", "", 0},
    // The count first in the line: « 2, double 0.012 m ».
    {KVR_PANEL_WINDOWS, 3, "nombre", "", 0},
    {KVR_PANEL_WINDOWS, 1, "vitrage", "", 1},
    {KVR_PANEL_WINDOWS, 2, "lame d'air", "m", 1},
    {KVR_PANEL_VENTILATION, 1, "système", "", 0},
    {KVR_PANEL_VENTILATION, 2, "renouvellement d'air", "vol/h", 1},
    {KVR_PANEL_TEMPERATURE, 1, "consigne", "°C", 0},
    {KVR_PANEL_LOCATION, 1, "région", "", 0},
    {KVR_PANEL_LOCATION, 2, "altitude", "", 1},
};

constexpr const char* panel_names[KVR_HOUSE_PANEL_COUNT] = {"Murs",
                                                            "Plancher",
                                                            "Plafond",
                                                            "Vide sanitaire",
                                                            "Fenêtres",
                                                            "Ventilation",
                                                            "Température intérieure",
                                                            "Site"};

constexpr std::string_view none = "sans";
constexpr std::string_view not_applicable = "s/o";

std::string trimmed(const char* text) {
  std::string_view view(text);
  while (!view.empty() && view.front() == ' ') view.remove_prefix(1);
  while (!view.empty() && view.back() == ' ') view.remove_suffix(1);
  return std::string(view);
}

const RowCaption* caption_of(int panel, int row) {
  for (const RowCaption& caption : captions)
    if (caption.panel == panel && caption.row == row) return &caption;
  return nullptr;
}

std::string quoted(const std::string& field) {
  std::size_t size = csv_write(nullptr, 0, field.data(), field.size());
  std::string out(size, '\0');
  csv_write(out.data(), out.size(), field.data(), field.size());
  return out;
}

void append_line(std::string& out, const std::vector<std::string>& fields) {
  for (std::size_t i = 0; i < fields.size(); ++i) {
    if (i > 0) out += ',';
    out += quoted(fields[i]);
  }
  out += "\r\n";
}

}  // namespace

const char* panel_name(int panel) {
  return panel >= 0 && panel < KVR_HOUSE_PANEL_COUNT ? panel_names[panel] : "";
}

std::vector<CompositionRow> panel_composition(const KvrHouse& house, const KvrHouseState& state,
                                              int panel) {
  KvrHousePanelTexts texts{};
  house.physics->panel_texts(&state, panel, &texts);
  std::vector<CompositionRow> rows;
  for (const RowCaption& caption : captions) {
    if (caption.panel != panel) continue;
    CompositionRow row{panel, caption.row, caption.choice, trimmed(texts.text[caption.row - 1]),
                       caption.unit};
    if (row.value == not_applicable) row.unit.clear();
    rows.push_back(std::move(row));
  }
  return rows;
}

std::vector<CompositionRow> composition(const KvrHouse& house, const KvrHouseState& state) {
  std::vector<CompositionRow> rows;
  for (int panel = 0; panel < KVR_HOUSE_PANEL_COUNT; ++panel) {
    std::vector<CompositionRow> part = panel_composition(house, state, panel);
    rows.insert(rows.end(), part.begin(), part.end());
  }
  return rows;
}

std::string composition_line(const KvrHouse& house, const KvrHouseState& state, int panel) {
  std::vector<CompositionRow> rows = panel_composition(house, state, panel);
  std::string line = std::string(panel_name(panel)) + " : ";
  std::vector<std::string> groups;
  int group = -1;
  bool skip_group = false;
  for (const CompositionRow& row : rows) {
    const RowCaption* caption = caption_of(panel, row.row);
    if (caption == nullptr) continue;
    if (caption->group != group) {
      group = caption->group;
      skip_group = false;
      groups.emplace_back();
    }
    if (skip_group || row.value == not_applicable || row.value.empty()) continue;
    std::string& words = groups.back();
    if (!words.empty()) words += ' ';
    if (row.value == none) {
      // « isolant sans », « enduit sans »: the thickness that goes with it is 0.
      words += row.choice + " " + row.value;
      skip_group = true;
      continue;
    }
    words += row.value;
    if (!row.unit.empty()) words += " " + row.unit;
  }
  bool first = true;
  for (const std::string& words : groups) {
    if (words.empty()) continue;
    if (!first) line += ", ";
    line += words;
    first = false;
  }
  return line;
}

std::string composition_csv(const KvrHouse& house, const KvrHouseState& state,
                            const KvrHouseState* reference) {
  std::vector<CompositionRow> rows = composition(house, state);
  std::vector<CompositionRow> pinned;
  if (reference != nullptr) pinned = composition(house, *reference);
  std::string out;
  std::vector<std::string> header = {"panneau", "choix", "valeur", "unité"};
  if (reference != nullptr) header.emplace_back("référence valeur");
  append_line(out, header);
  for (std::size_t i = 0; i < rows.size(); ++i) {
    const CompositionRow& row = rows[i];
    std::vector<std::string> fields = {panel_name(row.panel), row.choice, row.value, row.unit};
    if (reference != nullptr) fields.push_back(pinned[i].value);
    append_line(out, fields);
  }
  return out;
}

std::string composition_path(const std::string& report_csv_path) {
  constexpr std::string_view suffix = ".csv";
  std::string_view stem = report_csv_path;
  if (stem.size() >= suffix.size() && stem.substr(stem.size() - suffix.size()) == suffix)
    stem.remove_suffix(suffix.size());
  return std::string(stem) + "-composition.csv";
}

bool write_composition_csv(const std::string& path, const FrameView& view, std::ostream& errors) {
  if (view.house == nullptr) {
    errors << path << ": cannot write the composition: the program handed over no house\n";
    return false;
  }
  const KvrHouseState* reference = view.reference ? view.reference->house() : nullptr;
  return write_file_atomically(path, composition_csv(*view.house, *view.house->state, reference),
                               "the composition", errors);
}

}  // namespace kvr::house
