// « Pistes d'amélioration »: for each panel, the renovation measure that
// lowers the annual need most, found by evaluating with the program's own
// physics every combination of the panel's renovation choices that its
// steppers reach, on a copy of the house; the fewest measures that together
// reach the next better class; and, apart, lowering the indoor temperature
// (« sobriété »).
//
// A measure keeps the structure of the house: walls change their insulation
// (material and thickness) and render, floor and ceiling their insulation,
// the crawl space its type, the windows their glazing and gap (not their
// number), the ventilation its system and air change rate.
#ifndef KVR_HOUSE_IMPROVEMENTS_H
#define KVR_HOUSE_IMPROVEMENTS_H

#include <array>
#include <cstddef>
#include <string>

#include "kvrhouse.h"

namespace kvr::house {

inline constexpr std::size_t measure_panel_count = 6;

struct Measure {
  int panel = 0;           // KvrHousePanel
  std::string words;       // the panel after the measure, « Murs : brique pleine 0.105 m, ... »
  KvrHouseState house{};   // the whole house after the measure, evaluated
  double annual_need = 0;  // kWh/an after the measure
  double saving = 0;       // kWh/an
  double saving_percent = 0;  // of the current annual need
  char energy_class = 0;      // the class it would give
};

struct Advice {
  double annual_need = 0;  // kWh/an of the house as it is
  char energy_class = 0;
  // The panels with a measure that saves anything, best saving first.
  std::array<Measure, measure_panel_count> measures{};
  std::size_t measure_count = 0;

  // The next better class, and the fewest measures (indices into
  // `measures`, in their order) that together reach it; none when the
  // house is in class A or even every measure together falls short.
  char target_class = 0;
  bool target_reached = false;
  std::array<std::size_t, measure_panel_count> target_measures{};
  std::size_t target_measure_count = 0;
  double target_annual_need = 0;  // with those measures together
  // « 2 mesures pour la classe E », or why there is none.
  std::string target_words;

  // « Sobriété »: the indoor temperature one step of its stepper lower.
  // The model's annual need comes from the site's degree-days alone, so it
  // does not move; the heat loss at the base outdoor temperature does.
  bool sobriety_possible = false;
  double sobriety_temperature = 0;  // °C
  double sobriety_annual_need = 0;  // kWh/an
  double sobriety_total_loss = 0;   // W at the base outdoor temperature
  double sobriety_loss_saving = 0;  // W
  std::string sobriety_words;
};

// Computes the advice for the house `state` with the physics of `house`
// (the results of `state` itself are not read: a copy is evaluated).
Advice advise(const KvrHouse& house, const KvrHouseState& state);

// Keeps the last advice and computes it again only when the house changed:
// its parameters or coefficients differ from the last ones.
class AdviceCache {
 public:
  const Advice& advice(const KvrHouse& house, const KvrHouseState& state);
  // How many times the advice was computed, for tests and measurements.
  std::size_t computations() const { return computations_; }

 private:
  std::array<double, KVR_HOUSE_INPUT_COUNT> key_{};
  bool valid_ = false;
  Advice advice_;
  std::size_t computations_ = 0;
};

}  // namespace kvr::house

#endif
