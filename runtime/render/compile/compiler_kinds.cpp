// The members particular to each element kind.
#include "compile/compiler.h"

namespace kvr::render {

void ElementCompiler::group_transform(const json& e, Node& node, const std::string& where) {
  if (auto it = e.find("slide"); it != e.end()) {
    node.slide_anim = animation(*it, where + ".slide");
    if (it->contains("from")) node.slide_from = point((*it)["from"], where + ".slide.from");
  }
  if (auto it = e.find("fade"); it != e.end()) node.fade_anim = animation(*it, where + ".fade");
}

void ElementCompiler::paragraph(const json& e, Node& node, const std::string& where) {
  std::string text =
      e.contains("text") && e["text"].is_string() ? e["text"].get<std::string>() : std::string();
  if (text.empty()) problem(where, "a paragraph needs a \"text\" string");
  double leading = number(e, "line_height", 1.35, where);
  double gap = number(e, "paragraph_gap", 0.45, where);
  WrappedText wrapped =
      wrap_paragraph(text, node.x1, node.y1, node.x2, node.y2, node.size, leading, gap, measure_);
  node.lines = std::move(wrapped.lines);
  if (wrapped.overflows) problem(where, "the text runs below its box");
}

void ElementCompiler::button_style(const json& e, Node& node, const std::string& where) {
  std::string style = e.value("style", "normal");
  if (style == "normal") {
    node.style = ButtonStyle::Normal;
  } else if (style == "accent") {
    node.style = ButtonStyle::Accent;
  } else if (style == "danger") {
    node.style = ButtonStyle::Danger;
  } else if (style == "disabled") {
    node.style = ButtonStyle::Disabled;
  } else if (style == "inert") {
    node.style = ButtonStyle::Inert;
  } else {
    problem(where, "unknown button style \"" + style + "\"");
  }
  if (!e.contains("size")) node.size = 11.0;
}

void ElementCompiler::bar_chart(const json& e, Node& node, const std::string& where) {
  node.unit = e.value("unit", "");
  node.scale_min = number(e, "scale_min", 0.0, where);
  if (!e.contains("bars") || !e["bars"].is_array()) {
    problem(where, "a bar chart needs \"bars\"");
    return;
  }
  for (const json& b : e["bars"]) {
    Bar bar;
    bar.label = b.value("label", "");
    if (b.contains("value")) bar.value = part(b["value"], where + ".bars");
    bar.colour = paint(b, "colour", where + ".bars");
    if (b.contains("reference")) {
      bar.reference = part(b["reference"], where + ".bars.reference");
      bar.has_reference = true;
    }
    node.bars.push_back(bar);
  }
  if (!e.contains("size")) node.size = 9.0;
}

void ElementCompiler::legend(const json& e, Node& node, const std::string& where) {
  node.unit = e.value("unit", "");
  if (!e.contains("stops") || !e["stops"].is_array()) {
    problem(where, "a gradient legend needs \"stops\"");
    return;
  }
  for (const json& s : e["stops"]) {
    Stop stop;
    stop.at = number(s, "at", 0.0, where + ".stops");
    if (!s.contains("colour") || !literal_colour(s["colour"], stop.colour))
      problem(where, "each stop needs a literal colour");
    if (s.contains("label")) stop.label = part(s["label"], where + ".stops");
    node.stops.push_back(stop);
  }
  node.ramp = e.value("ramp", false);
  if (node.ramp && scene_.ramp_colours.empty())
    problem(where, "\"ramp\": the scene declares no colour_ramp");
  if (!e.contains("size")) node.size = 10.0;
}

void ElementCompiler::class_scale(const json& e, Node& node, const std::string& where) {
  node.text = e.contains("value") ? std::vector<TextPart>{part(e["value"], where)}
                                  : std::vector<TextPart>{};
  node.letters = e.value("letters", "ABCDEFG");
  if (e.contains("scale")) use_class_scale(e, node, where);
  if (e.contains("reference_value")) {
    node.reference = part(e["reference_value"], where + ".reference_value");
    node.has_reference = true;
  }
  node.bands = e.value("bands", false) && !node.bounds.empty();
  if (e.contains("scale") && (e.contains("colours") || e.contains("letters"))) {
    problem(where, "a class scale that names its \"scale\" takes letters and colours from it");
  } else if (e.contains("colours") && e["colours"].is_array()) {
    for (const json& c : e["colours"]) {
      Rgba rgba;
      if (!literal_colour(c, rgba)) problem(where, "colours must be literal colours");
      node.colours.push_back(rgba);
    }
  }
  if (node.colours.size() != node.letters.size()) problem(where, "one colour per letter is needed");
  if (!e.contains("size")) node.size = 10.0;
}

void ElementCompiler::site_marker(const json& e, Node& node, const std::string& where) {
  node.detail = e.value("detail", "");
  if (e.contains("on")) {
    node.visible = {};
    node.visible.op = Cond::Op::On;
    node.visible.var = variable(e["on"], where + ".on");
  } else {
    problem(where, "a site marker needs \"on\"");
  }
  node.points = {node.label_at};
  if (e.contains("label_at")) node.label_at = point(e["label_at"], where + ".label_at");
  node.text = {TextPart{e.value("label", ""), -1, false}};
  if (!e.contains("size")) node.size = 9.0;
}

void ElementCompiler::table(const json& e, Node& node, const std::string& where) {
  node.caption_width = number(e, "caption_width", 120.0, where);
  node.header_size = number(e, "header_size", 9.0, where);
  if (!e.contains("size")) node.size = 10.0;
  if (e.contains("columns") && e["columns"].is_array())
    for (const json& c : e["columns"])
      node.columns.push_back(c.is_string() ? c.get<std::string>() : "");
  if (!e.contains("rows") || !e["rows"].is_array()) {
    problem(where, "a table needs \"rows\"");
    return;
  }
  for (const json& r : e["rows"]) {
    TableRow row;
    row.caption = r.value("caption", "");
    if (r.contains("cells") && r["cells"].is_array()) {
      for (const json& cell : r["cells"])
        row.cells.push_back(cell.is_null() ? std::vector<TextPart>{}
                                           : parts(cell, where + ".rows"));
    }
    if (row.cells.size() > node.columns.size())
      problem(where, "row \"" + row.caption + "\" has more cells than columns");
    if (r.contains("highlight")) {
      row.highlight = condition(r["highlight"], where + ".rows.highlight");
      row.has_highlight = true;
    }
    if (r.contains("second") && r["second"].is_array()) {
      for (const json& cell : r["second"])
        row.second.push_back(cell.is_null() ? std::vector<TextPart>{}
                                            : parts(cell, where + ".rows.second"));
    }
    node.rows.push_back(std::move(row));
  }
  // "second_line": {"visible": C, "size": 8}: every row's `second` cells
  // as a muted line under its values while C holds.
  if (auto it = e.find("second_line"); it != e.end() && it->is_object()) {
    node.has_second = true;
    if (it->contains("visible"))
      node.second_visible = condition((*it)["visible"], where + ".second_line");
    node.second_size = number(*it, "size", 8.0, where + ".second_line");
  }
}

}  // namespace kvr::render
