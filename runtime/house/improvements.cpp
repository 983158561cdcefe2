#include "improvements.h"

#include <cstdio>
#include <cstring>

#include "composition.h"

namespace kvr::house {
namespace {

// The stepper rows a renovation changes, by panel.
struct MeasureRows {
  int panel;
  std::array<int, 4> rows;
  std::size_t count;
};

constexpr MeasureRows measure_rows[measure_panel_count] = {
    {KVR_PANEL_WALLS, {3, 4, 5, 6}, 4},  // insulation, its thickness, render, its thickness
    {KVR_PANEL_FLOOR, {3, 4, 0, 0}, 2},
    {KVR_PANEL_CEILING, {3, 4, 0, 0}, 2},
    {KVR_PANEL_CRAWLSPACE, {1, 0, 0, 0}, 1},
    {KVR_PANEL_WINDOWS, {1, 2, 0, 0}, 2},  // glazing and gap; the number of windows stays
    {KVR_PANEL_VENTILATION, {1, 2, 0, 0}, 2},
};

constexpr std::size_t max_values = 8;

struct Values {
  std::array<double, max_values> value{};
  std::size_t count = 0;

  bool has(double v) const {
    for (std::size_t i = 0; i < count; ++i)
      if (value[i] == v) return true;
    return false;
  }
};

double& parameter(KvrHouseState& state, const KvrHouseStepper& stepper) {
  return *reinterpret_cast<double*>(reinterpret_cast<char*>(&state) + stepper.offset);
}

double parameter(const KvrHouseState& state, const KvrHouseStepper& stepper) {
  return *reinterpret_cast<const double*>(reinterpret_cast<const char*>(&state) + stepper.offset);
}

const KvrHouseStepper* stepper_of(const KvrHousePhysics& physics, int panel, int row) {
  for (std::uint32_t i = 0; i < physics.stepper_count; ++i) {
    const KvrHouseStepper& stepper = physics.steppers[i];
    if (stepper.panel == panel && stepper.row == row) return &stepper;
  }
  return nullptr;
}

// Every value the arrows of `stepper` reach from `start`, by the same gates
// and step as the program's steppers.
Values reachable(const KvrHouseStepper& stepper, double start) {
  Values values;
  values.value[values.count++] = start;
  for (std::size_t i = 0; i < values.count; ++i) {
    const double v = values.value[i];
    const double next[2] = {v > stepper.minus_gate ? v - stepper.step : v,
                            v < stepper.plus_gate ? v + stepper.step : v};
    for (double n : next)
      if (!values.has(n) && values.count < max_values) values.value[values.count++] = n;
  }
  return values;
}

char class_of(const KvrHouse& house, const KvrHouseState& state) {
  return house.physics->energy_class(state.need_per_m2);
}

std::size_t changed_parameters(const KvrHouseState& a, const KvrHouseState& b) {
  std::size_t changed = 0;
  const auto* x = reinterpret_cast<const double*>(&a);
  const auto* y = reinterpret_cast<const double*>(&b);
  for (std::size_t i = 0; i < KVR_HOUSE_PARAMETER_COUNT; ++i) changed += x[i] != y[i] ? 1 : 0;
  return changed;
}

// The best combination of one panel's renovation choices, or false when
// none lowers the need.
bool best_measure(const KvrHouse& house, const KvrHouseState& state, const MeasureRows& rows,
                  Measure& measure) {
  const KvrHousePhysics& physics = *house.physics;
  std::array<const KvrHouseStepper*, 4> steppers{};
  std::array<Values, 4> values{};
  for (std::size_t r = 0; r < rows.count; ++r) {
    steppers[r] = stepper_of(physics, rows.panel, rows.rows[r]);
    if (steppers[r] == nullptr) return false;
    values[r] = reachable(*steppers[r], parameter(state, *steppers[r]));
  }
  bool found = false;
  std::size_t best_changes = 0;
  std::array<std::size_t, 4> odometer{};
  for (;;) {
    KvrHouseState candidate = state;
    for (std::size_t r = 0; r < rows.count; ++r)
      parameter(candidate, *steppers[r]) = values[r].value[odometer[r]];
    physics.evaluate(&candidate);
    const double need = candidate.annual_need;
    if (need < state.annual_need) {
      const std::size_t changes = changed_parameters(state, candidate);
      if (!found || need < measure.annual_need ||
          (need == measure.annual_need && changes < best_changes)) {
        found = true;
        best_changes = changes;
        measure.house = candidate;
        measure.annual_need = need;
      }
    }
    std::size_t r = 0;
    while (r < rows.count && ++odometer[r] == values[r].count) odometer[r++] = 0;
    if (r == rows.count) break;
  }
  if (!found) return false;
  measure.panel = rows.panel;
  measure.words = composition_line(house, measure.house, rows.panel);
  measure.saving = state.annual_need - measure.annual_need;
  measure.saving_percent = measure.saving / state.annual_need * 100;
  measure.energy_class = class_of(house, measure.house);
  return true;
}

const MeasureRows& rows_of(int panel) {
  for (const MeasureRows& rows : measure_rows)
    if (rows.panel == panel) return rows;
  return measure_rows[0];
}

// The house with the measures of `mask` (bits over advice.measures) together.
KvrHouseState combined(const KvrHouse& house, const KvrHouseState& state, const Advice& advice,
                       unsigned mask) {
  KvrHouseState together = state;
  for (std::size_t m = 0; m < advice.measure_count; ++m) {
    if ((mask & (1u << m)) == 0) continue;
    const Measure& measure = advice.measures[m];
    const MeasureRows& rows = rows_of(measure.panel);
    for (std::size_t r = 0; r < rows.count; ++r) {
      const KvrHouseStepper* stepper = stepper_of(*house.physics, rows.panel, rows.rows[r]);
      if (stepper != nullptr) parameter(together, *stepper) = parameter(measure.house, *stepper);
    }
  }
  house.physics->evaluate(&together);
  return together;
}

std::size_t bits(unsigned mask) {
  std::size_t count = 0;
  for (; mask != 0; mask &= mask - 1) ++count;
  return count;
}

void find_target(const KvrHouse& house, const KvrHouseState& state, Advice& advice) {
  char words[96];
  if (advice.energy_class <= 'A' || advice.energy_class > 'G') {
    advice.target_words = "classe A : aucune meilleure classe";
    return;
  }
  advice.target_class = static_cast<char>(advice.energy_class - 1);
  const unsigned all = (1u << advice.measure_count) - 1;
  for (std::size_t size = 1; size <= advice.measure_count && !advice.target_reached; ++size) {
    for (unsigned mask = 1; mask <= all; ++mask) {
      if (bits(mask) != size) continue;
      const KvrHouseState together = combined(house, state, advice, mask);
      if (class_of(house, together) > advice.target_class) continue;
      if (advice.target_reached && together.annual_need >= advice.target_annual_need) continue;
      advice.target_reached = true;
      advice.target_annual_need = together.annual_need;
      advice.target_measure_count = 0;
      for (std::size_t m = 0; m < advice.measure_count; ++m)
        if ((mask & (1u << m)) != 0) advice.target_measures[advice.target_measure_count++] = m;
    }
  }
  if (advice.target_reached) {
    std::snprintf(words, sizeof words, "%zu mesure%s pour la classe %c",
                  advice.target_measure_count, advice.target_measure_count > 1 ? "s" : "",
                  advice.target_class);
  } else {
    std::snprintf(words, sizeof words, "aucune combinaison de mesures n'atteint la classe %c",
                  advice.target_class);
  }
  advice.target_words = words;
}

void find_sobriety(const KvrHouse& house, const KvrHouseState& state, Advice& advice) {
  const KvrHouseStepper* stepper = stepper_of(*house.physics, KVR_PANEL_TEMPERATURE, 1);
  if (stepper == nullptr) return;
  const double now = parameter(state, *stepper);
  if (!(now > stepper->minus_gate)) {
    advice.sobriety_words = "sobriété : la température intérieure est déjà la plus basse";
    return;
  }
  KvrHouseState cooler = state;
  parameter(cooler, *stepper) = now - stepper->step;
  house.physics->evaluate(&cooler);
  advice.sobriety_possible = true;
  advice.sobriety_temperature = cooler.indoor_temperature;
  advice.sobriety_annual_need = cooler.annual_need;
  advice.sobriety_total_loss = cooler.total_loss;
  advice.sobriety_loss_saving = state.total_loss - cooler.total_loss;
  char words[200];
  std::snprintf(words, sizeof words,
                "sobriété : %.0f °C au lieu de %.0f °C, %.0f W de moins à la température de "
                "base (%.0f %%), besoin annuel %.0f kWh/an",
                cooler.indoor_temperature, now, advice.sobriety_loss_saving,
                advice.sobriety_loss_saving / state.total_loss * 100, cooler.annual_need);
  advice.sobriety_words = words;
}

}  // namespace

Advice advise(const KvrHouse& house, const KvrHouseState& live) {
  // The results of the copy come from the same physics as every candidate's.
  KvrHouseState state = live;
  house.physics->evaluate(&state);
  Advice advice;
  advice.annual_need = state.annual_need;
  advice.energy_class = class_of(house, state);
  for (const MeasureRows& rows : measure_rows) {
    Measure measure;
    if (best_measure(house, state, rows, measure))
      advice.measures[advice.measure_count++] = std::move(measure);
  }
  // Best saving first; equal savings keep the order of the panels.
  for (std::size_t i = 1; i < advice.measure_count; ++i)
    for (std::size_t j = i; j > 0 && advice.measures[j].saving > advice.measures[j - 1].saving; --j)
      std::swap(advice.measures[j], advice.measures[j - 1]);
  find_target(house, state, advice);
  find_sobriety(house, state, advice);
  return advice;
}

const Advice& AdviceCache::advice(const KvrHouse& house, const KvrHouseState& state) {
  std::array<double, KVR_HOUSE_INPUT_COUNT> key;
  std::memcpy(key.data(), &state, sizeof key);
  if (!valid_ || std::memcmp(key.data(), key_.data(), sizeof key) != 0) {
    advice_ = advise(house, state);
    key_ = key;
    valid_ = true;
    ++computations_;
  }
  return advice_;
}

}  // namespace kvr::house
