#include "output/report_house.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "composition.h"
#include "improvements.h"
#include "moisture.h"

namespace kvr::render {

namespace {

const std::string kMinus = "\xE2\x88\x92";  // U+2212

// `value` with `decimals` decimals, "-0" written "0".
std::string number(int decimals, double value) {
  char text[48];
  std::snprintf(text, sizeof text, "%.*f", decimals, value + 0.0);
  if (text[0] == '-' && std::strspn(text + 1, "0.") == std::strlen(text + 1)) return text + 1;
  return text;
}

std::string with_unit(const house::CompositionRow& row) {
  return row.unit.empty() ? row.value : row.value + " " + row.unit;
}

std::string capitalised(std::string text) {
  if (!text.empty() && text[0] >= 'a' && text[0] <= 'z') text[0] = static_cast<char>(text[0] - 32);
  return text;
}

// The words after « Panneau : ».
std::string after_colon(const std::string& line) {
  std::size_t colon = line.find(" : ");
  return colon == std::string::npos ? line : line.substr(colon + 3);
}

int humidity_of(const FrameView& view) {
  return view.house_views != nullptr ? view.house_views->humidity : house::humidity_default;
}

// Air cannot hold more: beyond saturation it condenses.
double shown_humidity(const house::SurfaceCheck& s) {
  return std::min(s.surface_relative_humidity, 100.0);
}

FlowSection composition(const KvrHouse& house, const KvrHouseState& state,
                        const KvrHouseState* pinned) {
  FlowSection s;
  s.title = "Composition de la maison";
  s.columns = {0, 100, 230};
  if (pinned != nullptr) s.columns.push_back(370);
  s.lines.push_back(
      {FlowStyle::Note,
       {pinned != nullptr ? "Chaque choix des huit panneaux, dans les mots et les unités du "
                            "simulateur, à côté de la référence fixée ; en gras, les choix qui "
                            "en diffèrent."
                          : "Chaque choix des huit panneaux, dans les mots et les unités du "
                            "simulateur."}});
  FlowLine head{FlowStyle::Head, {"Panneau", "Choix", "Valeur"}};
  if (pinned != nullptr) head.cells.emplace_back("Référence");
  s.lines.push_back(head);
  std::vector<house::CompositionRow> rows = house::composition(house, state);
  std::vector<house::CompositionRow> then;
  if (pinned != nullptr) then = house::composition(house, *pinned);
  int panel = -1;
  for (std::size_t i = 0; i < rows.size(); ++i) {
    const house::CompositionRow& row = rows[i];
    FlowLine line{FlowStyle::Row, {"", row.choice, with_unit(row)}};
    if (row.panel != panel) {
      line.cells[0] = house::panel_name(row.panel);
      line.rule_above = panel >= 0;
      panel = row.panel;
    }
    if (pinned != nullptr && i < then.size()) {
      line.cells.push_back(with_unit(then[i]));
      if (then[i].value != row.value) line.style = FlowStyle::Strong;
    }
    s.lines.push_back(std::move(line));
  }
  return s;
}

FlowSection moisture(const KvrHouse& house, const KvrHouseState& state, int humidity) {
  const house::MoistureCheck check = house::check_moisture(state, humidity);
  FlowSection s;
  s.title = "Condensation et moisissure";
  s.columns = {0, 80, 160, 240, 330, 410};
  s.lines.push_back(
      {FlowStyle::Note,
       {"Humidité intérieure " + std::to_string(humidity) + " % à " +
        number(1, check.indoor_temperature) + " °C : point de rosée " + number(1, check.dew_point) +
        " °C. Température extérieure de base " + number(1, state.outdoor_base_temperature) +
        " °C (site : " + after_colon(house::composition_line(house, state, KVR_PANEL_LOCATION)) +
        ")."}});
  s.lines.push_back(
      {FlowStyle::Head,
       {"Paroi", "U (W/m².K)", "T surface", "Point de rosée", "HR surface", "Verdict"}});
  for (const house::SurfaceCheck& surface : check.surfaces) {
    bool risk = surface.condensation || surface.mould_risk;
    s.lines.push_back(
        {risk ? FlowStyle::Warn : FlowStyle::Row,
         {capitalised(surface.name), number(2, surface.u),
          number(1, surface.surface_temperature) + " °C", number(1, check.dew_point) + " °C",
          number(0, shown_humidity(surface)) + " %", surface.verdict}});
  }
  s.lines.push_back(
      {FlowStyle::Note,
       {"Une surface plus froide que le point de rosée se couvre de condensation ; au-delà de " +
        number(0, house::mould_humidity_limit) +
        " % d'humidité relative à sa surface, des moisissures peuvent s'y développer. ▲ : "
        "paroi à risque."}});
  s.lines.push_back(
      {FlowStyle::Footnote,
       {"Température de surface intérieure θsi = θi − U · Rsi · Δθ, Δθ étant l'écart que le "
        "modèle applique à la paroi (multiplié par le coefficient du plancher ou du plafond). "
        "Rsi = " +
        number(2, house::opaque_surface_resistance) + " m²·K/W sur les parois opaques, " +
        number(2, house::glazing_surface_resistance) +
        " m²·K/W sur les vitrages (EN ISO 13788, vérification de la condensation "
        "superficielle). Point de rosée et pressions de vapeur saturante : formule de Magnus "
        "sur l'eau, a = " +
        number(2, house::magnus_a) + ", b = " + number(2, house::magnus_b) +
        " °C (Sonntag 1990, coefficients du guide de l'OMM)."}});
  return s;
}

FlowSection improvements(const KvrHouse& house, const KvrHouseState& state) {
  const house::Advice advice = house::advise(house, state);
  FlowSection s;
  s.title = "Pistes d'amélioration";
  s.columns = {0, 20, 96, 318, 378, 432, 478};
  s.lines.push_back({FlowStyle::Note,
                     {"Maison actuelle : besoin annuel " + number(0, advice.annual_need) +
                      " kWh/an, classe " + std::string(1, advice.energy_class) +
                      ". Pour chaque panneau, la mesure qui réduit le plus le besoin annuel, "
                      "les autres choix inchangés, de la plus efficace à la moins efficace."}});
  s.lines.push_back({FlowStyle::Head,
                     {"N°", "Panneau", "Mesure : le panneau après travaux", "Besoin (kWh/an)",
                      "Gain (kWh/an)", "Gain", "Classe"}});
  for (std::size_t i = 0; i < advice.measure_count; ++i) {
    const house::Measure& m = advice.measures[i];
    s.lines.push_back(
        {FlowStyle::Row,
         {std::to_string(i + 1), house::panel_name(m.panel), after_colon(m.words),
          number(0, m.annual_need), kMinus + number(0, m.saving),
          kMinus + number(0, m.saving_percent) + " %", std::string(1, m.energy_class)}});
  }
  if (advice.measure_count == 0)
    s.lines.push_back({FlowStyle::Note, {"Aucune mesure ne réduit le besoin annuel."}});
  std::string target = capitalised(advice.target_words);
  if (advice.target_reached) {
    target += " :";
    for (std::size_t t = 0; t < advice.target_measure_count; ++t) {
      target += t == 0 ? " " : " + ";
      target += house::panel_name(advice.measures[advice.target_measures[t]].panel);
    }
    target += ", besoin annuel " + number(0, advice.target_annual_need) + " kWh/an ensemble";
  }
  s.lines.push_back({FlowStyle::Note, {target + "."}});
  s.lines.push_back({FlowStyle::Note, {capitalised(advice.sobriety_words) + "."}});
  s.lines.push_back(
      {FlowStyle::Footnote,
       {"Chaque mesure est calculée avec le modèle du simulateur sur une copie de la maison et "
        "garde sa structure : isolant et enduit des murs, isolant du plancher et du plafond, "
        "type de vide sanitaire, vitrage et lame d'air (pas le nombre de fenêtres), système de "
        "ventilation et renouvellement d'air. Le besoin annuel du modèle vient des degrés-jours "
        "du site : baisser la température intérieure réduit les déperditions à la température "
        "de base, pas ce besoin."}});
  return s;
}

}  // namespace

HouseReport house_report(const FrameView& view) {
  HouseReport report;
  if (view.house == nullptr || view.house->state == nullptr) return report;
  const KvrHouse& house = *view.house;
  const KvrHouseState& state = *house.state;
  const KvrHouseState* pinned = view.reference != nullptr ? view.reference->house() : nullptr;
  report.before.push_back(composition(house, state, pinned));
  report.after.push_back(moisture(house, state, humidity_of(view)));
  report.after.push_back(improvements(house, state));
  return report;
}

CsvRows moisture_csv_rows(const FrameView& view) {
  CsvRows rows;
  if (view.house == nullptr || view.house->state == nullptr) return rows;
  const KvrHouseState& state = *view.house->state;
  const int humidity = humidity_of(view);
  const house::MoistureCheck check = house::check_moisture(state, humidity);
  rows.push_back({"paroi", "U (W/m².K)", "écart de température (K)", "Rsi (m².K/W)",
                  "T surface (°C)", "point de rosée (°C)", "HR surface (%)", "verdict",
                  "humidité intérieure (%)", "T intérieure (°C)", "T extérieure de base (°C)"});
  for (const house::SurfaceCheck& s : check.surfaces)
    rows.push_back({s.name, number(2, s.u), number(1, s.temperature_difference),
                    number(2, s.surface_resistance), number(1, s.surface_temperature),
                    number(1, check.dew_point), number(0, shown_humidity(s)), s.verdict,
                    std::to_string(humidity), number(1, check.indoor_temperature),
                    number(1, state.outdoor_base_temperature)});
  return rows;
}

CsvRows measures_csv_rows(const FrameView& view) {
  CsvRows rows;
  if (view.house == nullptr || view.house->state == nullptr) return rows;
  const house::Advice advice = house::advise(*view.house, *view.house->state);
  rows.push_back({"rang", "panneau", "mesure", "besoin annuel (kWh/an)", "gain (kWh/an)",
                  "gain (%)", "classe", "pour la classe suivante"});
  for (std::size_t i = 0; i < advice.measure_count; ++i) {
    const house::Measure& m = advice.measures[i];
    bool chosen = false;
    for (std::size_t t = 0; t < advice.target_measure_count; ++t)
      chosen = chosen || advice.target_measures[t] == i;
    rows.push_back({std::to_string(i + 1), house::panel_name(m.panel), after_colon(m.words),
                    number(0, m.annual_need), number(0, m.saving), number(1, m.saving_percent),
                    std::string(1, m.energy_class), chosen ? "oui" : "non"});
  }
  if (advice.sobriety_possible)
    rows.push_back(
        {"", house::panel_name(KVR_PANEL_TEMPERATURE), advice.sobriety_words,
         number(0, advice.sobriety_annual_need),
         number(0, advice.annual_need - advice.sobriety_annual_need),
         number(1, (advice.annual_need - advice.sobriety_annual_need) / advice.annual_need * 100),
         std::string(1, advice.energy_class), "non"});
  return rows;
}

}  // namespace kvr::render
