#include "values/house_texts.h"

#include <algorithm>
#include <cstdio>
#include <initializer_list>

#include "composition.h"
#include "moisture.h"

namespace kvr::render {

namespace {

class Lines {
 public:
  Lines(std::vector<std::string>& lines, std::size_t& count) : lines_(lines), count_(count) {}
  void add(char how, const std::string& text) {
    if (count_ == lines_.size()) lines_.emplace_back();
    std::string& line = lines_[count_++];
    line.assign(1, how);
    line += text;
  }

 private:
  std::vector<std::string>& lines_;
  std::size_t& count_;
};

// Numbers as the views write them: "5.6", "-12" (whole).
std::string one_decimal(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%.1f", value);
  return text;
}
std::string whole(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%.0f", value);
  return text;
}

// The cells of one line, tab-separated.
std::string cells(std::initializer_list<std::string> parts) {
  std::string out;
  for (const std::string& part : parts) {
    if (!out.empty() || &part != parts.begin()) out += '\t';
    out += part;
  }
  return out;
}

// « Murs : brique pleine 0.105 m » as two cells.
std::string as_cells(const std::string& line) {
  std::size_t colon = line.find(" : ");
  if (colon == std::string::npos) return line;
  return cells({line.substr(0, colon), line.substr(colon + 3)});
}

// A note too long for one line of a view, cut after its commas.
void add_note(Lines& out, const std::string& note) {
  constexpr std::size_t kLine = 64;
  std::size_t from = 0;
  while (note.size() - from > kLine) {
    std::size_t cut = note.rfind(", ", from + kLine);
    if (cut == std::string::npos || cut <= from) break;
    out.add('N', note.substr(from, cut + 1 - from));
    from = cut + 2;
  }
  out.add('N', note.substr(from));
}

void composition(const KvrHouse& house, const KvrHouseState& state, const KvrHouseState* pinned,
                 Lines& out) {
  out.add('T', "Composition de la maison");
  for (int panel = 0; panel < KVR_HOUSE_PANEL_COUNT; ++panel) {
    std::string now = house::composition_line(house, state, panel);
    out.add('R', as_cells(now));
    if (pinned == nullptr) continue;
    std::string then = house::composition_line(house, *pinned, panel);
    if (then != now)
      out.add('M', "\tréférence : " + as_cells(then).substr(as_cells(then).find('\t') + 1));
  }
}

void moisture(const KvrHouseState& state, int humidity, Lines& out) {
  house::MoistureCheck check = house::check_moisture(state, humidity);
  out.add('T', "Condensation et moisissure");
  std::string note = "Humidité intérieure ";
  note += std::to_string(humidity);
  note += " %, ";
  note += one_decimal(check.indoor_temperature);
  note += " °C : point de rosée ";
  note += one_decimal(check.dew_point);
  note += " °C, par ";
  note += one_decimal(state.outdoor_base_temperature);
  note += " °C dehors";
  out.add('N', note);
  out.add('H', "Paroi\tT surface\tHR surface\tVerdict");
  for (const house::SurfaceCheck& s : check.surfaces) {
    std::string name = s.name;
    if (!name.empty()) name[0] = static_cast<char>(name[0] - ('a' - 'A'));
    out.add(s.condensation || s.mould_risk ? 'W' : 'R',
            cells({name, one_decimal(s.surface_temperature) + " °C",
                   // Air cannot hold more: beyond saturation it condenses.
                   whole(std::min(s.surface_relative_humidity, 100.0)) + " %", s.verdict}));
  }
}

void improvements(const KvrHouse& house, const KvrHouseState& state, house::AdviceCache& cache,
                  Lines& out) {
  const house::Advice& advice = cache.advice(house, state);
  out.add('T', "Pistes d'amélioration");
  out.add('H', "Mesure\tGain\tClasse");
  for (std::size_t i = 0; i < advice.measure_count; ++i) {
    const house::Measure& m = advice.measures[i];
    std::size_t colon = m.words.find(" : ");
    std::string panel = colon == std::string::npos ? m.words : m.words.substr(0, colon);
    std::string gain = "−";
    gain += whole(m.saving);
    gain += " kWh/an (−";
    gain += whole(m.saving_percent);
    gain += " %)";
    out.add('R', cells({panel, gain, std::string(1, m.energy_class)}));
    if (colon != std::string::npos) out.add('M', cells({std::string(), m.words.substr(colon + 3)}));
  }
  if (advice.measure_count == 0) out.add('N', "Aucune mesure ne réduit le besoin annuel.");
  add_note(out, advice.target_words);
  add_note(out, advice.sobriety_words);
}

}  // namespace

void house_texts(const Node& n, const FrameView& view, house::AdviceCache& advice,
                 std::vector<std::string>& lines, std::size_t& count) {
  Lines out(lines, count);
  if (view.house == nullptr || view.house->state == nullptr) {
    out.add('N', "La maison n'est pas transmise par le programme.");
    return;
  }
  const KvrHouse& house = *view.house;
  const KvrHouseState& state = *house.state;
  int humidity = view.house_views != nullptr ? view.house_views->humidity : 50;
  const KvrHouseState* pinned = view.reference != nullptr ? view.reference->house() : nullptr;
  switch (n.house_view) {
    case 1:
      composition(house, state, pinned, out);
      return;
    case 2:
      moisture(state, humidity, out);
      return;
    default:
      improvements(house, state, advice, out);
      return;
  }
}

void surface_risks(const Node& n, const FrameView& view, std::string& out) {
  out.assign(n.marks.size(), ' ');
  if (view.house == nullptr || view.house->state == nullptr) return;
  int humidity = view.house_views != nullptr ? view.house_views->humidity : 50;
  const house::MoistureCheck check = house::check_moisture(*view.house->state, humidity);
  for (std::size_t i = 0; i < n.marks.size(); ++i) {
    std::size_t surface = n.marks[i].surface;
    if (surface >= check.surfaces.size()) continue;
    const house::SurfaceCheck& s = check.surfaces[surface];
    out[i] = s.condensation ? 'C' : s.mould_risk ? 'M' : ' ';
  }
}

}  // namespace kvr::render
