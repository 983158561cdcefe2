// The runtime's views of the program's house (runtime/house/) through a
// session, as its commands open them: one view at a time, the humidity
// stepped within its range, a reference pinned and cleared, a report.
// After every frame the open view (all of them for a report) is worked out
// on the house the program handed over with KvHouse, and what it shows
// must hold whatever the house: a composition of every choice in words, a
// condensation verdict that agrees with its temperatures, measures that
// save, ranked, and keep the structure of the house.
#ifndef MAISON_FUZZ_SESSION_HOUSE_VIEWS_SESSION_H
#define MAISON_FUZZ_SESSION_HOUSE_VIEWS_SESSION_H

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "improvements.h"
#include "kvrhouse.h"
#include "pointer_states.h"

namespace maison::fuzzing {

class HouseViewsSession {
 public:
  HouseViewsSession(const KvrHouse& house, std::vector<HouseStep> steps);

  // Plays the step of frame `frame` (1 for the first), then works out what
  // is open. The first broken rule, as "rule: detail", or an empty string.
  std::string after_frame(std::uint64_t frame);

  // How many times the measures were worked out, for tests.
  std::size_t advice_computations() const { return advice_.computations(); }

 private:
  enum class View : std::uint8_t { none, composition, moisture, improvements };

  void play(const HouseStep& step);
  std::string check_composition() const;
  std::string check_moisture() const;
  std::string check_improvements();

  const KvrHouse& house_;
  std::vector<HouseStep> steps_;
  View shown_ = View::none;
  int humidity_ = 50;
  std::optional<KvrHouseState> pinned_;
  kvr::house::AdviceCache advice_;
};

}  // namespace maison::fuzzing

#endif
