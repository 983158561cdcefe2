#include "output/csv_table.h"

#include <csv.h>

#include "values/records.h"

namespace kvr::render {

namespace {

using json = nlohmann::json;

// A cell of the section: "$OBJ.VAR" (a bound text), a literal, or null.
int cell_variable(const Scene& scene, const json& cell) {
  if (!cell.is_string()) return -1;
  const std::string& s = cell.get_ref<const std::string&>();
  if (s.size() < 2 || s[0] != '$' || s[1] == '$') return -1;
  return scene.find_variable(std::string_view(s).substr(1));
}

std::string literal(const json& cell) {
  if (!cell.is_string()) return "";
  const std::string& s = cell.get_ref<const std::string&>();
  return s.size() >= 2 && s[0] == '$' && s[1] == '$' ? s.substr(1) : s;
}

std::string value(const FrameView& view, const json& cell, bool pinned) {
  int var = cell_variable(*view.scene, cell);
  if (var < 0) return pinned ? "" : literal(cell);
  if (view.scene->variables[static_cast<std::size_t>(var)].kind != RecordKind::Text) return "";
  std::string text;
  if (pinned) {
    append_pinned_text(view, var, text);
  } else {
    append_text(view, var, text);
  }
  return std::string(trimmed(text));
}

std::string quoted(const std::string& field) {
  std::size_t size = csv_write(nullptr, 0, field.data(), field.size());
  std::string out(size, '\0');
  csv_write(out.data(), out.size(), field.data(), field.size());
  return out;
}

}  // namespace

CsvRows report_csv_rows(const FrameView& view) {
  CsvRows rows;
  if (view.scene == nullptr || !view.scene->report.is_object()) return rows;
  auto section = view.scene->report.find("csv");
  if (section == view.scene->report.end() || !section->is_object()) return rows;
  const json& columns = (*section)["columns"];
  std::size_t keys = section->value("key_columns", std::size_t{1});
  std::string prefix = section->value("reference_prefix", std::string("reference "));
  bool pinned = reference_pinned(view);
  std::vector<std::string> header;
  for (const json& c : columns) header.push_back(literal(c));
  if (pinned)
    for (std::size_t c = keys; c < columns.size(); ++c)
      header.push_back(prefix + literal(columns[c]));
  rows.push_back(std::move(header));
  for (const json& row : (*section)["rows"]) {
    std::vector<std::string> line;
    for (const json& cell : row) line.push_back(value(view, cell, false));
    if (pinned)
      for (std::size_t c = keys; c < row.size(); ++c) line.push_back(value(view, row[c], true));
    rows.push_back(std::move(line));
  }
  return rows;
}

std::string csv_text(const CsvRows& rows) {
  std::string out;
  for (const auto& row : rows) {
    for (std::size_t i = 0; i < row.size(); ++i) {
      if (i > 0) out += ',';
      out += quoted(row[i]);
    }
    out += "\r\n";
  }
  return out;
}

}  // namespace kvr::render
