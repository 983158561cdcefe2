#include "house_views_session.h"

#include <cmath>
#include <cstring>
#include <sstream>
#include <utility>

#include "composition.h"
#include "humidity_setting.h"
#include "moisture.h"

namespace maison::fuzzing {
namespace {

template <class... T>
std::string broken(const T&... parts) {
  std::ostringstream message;
  (message << ... << parts);
  return message.str();
}

// The stepper rows a measure may change, by panel: walls their insulation
// and render, floor and ceiling their insulation, the crawl space its type,
// windows their glazing and gap (not their number), the ventilation its
// system and rate.
bool renovation_row(int panel, int row) {
  switch (panel) {
    case KVR_PANEL_WALLS:
      return row >= 3;
    case KVR_PANEL_FLOOR:
    case KVR_PANEL_CEILING:
      return row == 3 || row == 4;
    case KVR_PANEL_CRAWLSPACE:
      return row == 1;
    case KVR_PANEL_WINDOWS:
    case KVR_PANEL_VENTILATION:
      return row == 1 || row == 2;
    default:
      return false;
  }
}

const KvrHouseStepper* stepper_at(const KvrHousePhysics& physics, std::size_t offset) {
  for (std::uint32_t i = 0; i < physics.stepper_count; ++i)
    if (physics.steppers[i].offset == offset) return &physics.steppers[i];
  return nullptr;
}

std::size_t count_lines(const std::string& text) {
  std::size_t lines = 0;
  for (std::size_t at = text.find("\r\n"); at != std::string::npos; at = text.find("\r\n", at + 2))
    ++lines;
  return lines;
}

}  // namespace

HouseViewsSession::HouseViewsSession(const KvrHouse& house, std::vector<HouseStep> steps)
    : house_(house), steps_(std::move(steps)) {}

void HouseViewsSession::play(const HouseStep& step) {
  switch (step.action) {
    case HouseStep::Action::toggle_view: {
      // As the commands composition, moisture, improvements: a second
      // press closes the view.
      const auto view = static_cast<View>(1 + step.detail % 3);
      shown_ = shown_ == view ? View::none : view;
      return;
    }
    case HouseStep::Action::humidity_up:
    case HouseStep::Action::humidity_down:
      humidity_ = kvr::house::step_humidity(humidity_,
                                            step.action == HouseStep::Action::humidity_up ? 1 : -1);
      return;
    case HouseStep::Action::pin:
      if (pinned_ && step.detail % 2 == 1) {
        pinned_.reset();
      } else {
        pinned_ = *house_.state;
      }
      return;
    default:
      return;
  }
}

std::string HouseViewsSession::after_frame(std::uint64_t frame) {
  const bool report =
      frame >= 1 && frame <= steps_.size() && steps_[frame - 1].action == HouseStep::Action::report;
  if (frame >= 1 && frame <= steps_.size()) play(steps_[frame - 1]);
  // The house the runtime reads is the frame's to the bit: a copy
  // evaluated with the program's physics gives every result again.
  KvrHouseState copy = *house_.state;
  auto* doubles = reinterpret_cast<double*>(&copy);
  for (std::size_t i = KVR_HOUSE_INPUT_COUNT; i < sizeof copy / sizeof(double); ++i)
    doubles[i] = -1;
  house_.physics->evaluate(&copy);
  if (std::memcmp(&copy, house_.state, sizeof copy) != 0)
    return "house: a copy evaluated differs from the frame's house";
  std::string problem;
  if (report || shown_ == View::composition) problem = check_composition();
  if (problem.empty() && (report || shown_ == View::moisture)) problem = check_moisture();
  if (problem.empty() && (report || shown_ == View::improvements)) problem = check_improvements();
  return problem;
}

std::string HouseViewsSession::check_composition() const {
  const KvrHouseState& state = *house_.state;
  const std::vector<kvr::house::CompositionRow> rows = kvr::house::composition(house_, state);
  if (rows.size() != KVR_HOUSE_PARAMETER_COUNT)
    return broken("composition: ", rows.size(), " rows for ", KVR_HOUSE_PARAMETER_COUNT,
                  " choices");
  for (const kvr::house::CompositionRow& row : rows)
    if (row.value.empty() || row.value.front() == ' ' || row.value.back() == ' ')
      return broken("composition: ", kvr::house::panel_name(row.panel), " ", row.choice, " is \"",
                    row.value, "\"");
  for (int panel = 0; panel < KVR_HOUSE_PANEL_COUNT; ++panel) {
    const std::string line = kvr::house::composition_line(house_, state, panel);
    const std::string start = std::string(kvr::house::panel_name(panel)) + " : ";
    if (line.rfind(start, 0) != 0 || line.size() == start.size())
      return broken("composition: the line \"", line, "\"");
  }
  const KvrHouseState* reference = pinned_ ? &*pinned_ : nullptr;
  const std::string csv = kvr::house::composition_csv(house_, state, reference);
  if (count_lines(csv) != rows.size() + 1) return "composition: the CSV lacks lines";
  return "";
}

std::string HouseViewsSession::check_moisture() const {
  if (humidity_ < kvr::house::humidity_lowest || humidity_ > kvr::house::humidity_highest ||
      humidity_ % kvr::house::humidity_step != 0)
    return broken("moisture: humidity ", humidity_, " %");
  if (kvr::house::with_humidity("", humidity_).find(std::to_string(humidity_)) == std::string::npos)
    return "moisture: the humidity is not written to the settings";
  const kvr::house::MoistureCheck check = kvr::house::check_moisture(*house_.state, humidity_);
  if (!(check.dew_point < check.indoor_temperature))
    return broken("moisture: dew point ", check.dew_point, " °C");
  for (const kvr::house::SurfaceCheck& s : check.surfaces) {
    if (!std::isfinite(s.surface_temperature) || !std::isfinite(s.surface_relative_humidity))
      return broken("moisture: ", s.name, " at ", s.surface_temperature, " °C");
    const char* verdict = s.surface_temperature < check.dew_point ? "condensation"
                          : s.surface_relative_humidity > kvr::house::mould_humidity_limit
                              ? "risque de moisissure"
                              : "sain";
    if (std::strcmp(s.verdict, verdict) != 0)
      return broken("moisture: ", s.name, " at ", s.surface_temperature, " °C, ",
                    s.surface_relative_humidity, " %: ", s.verdict);
    // Colder than the room, the surface is more humid than the room's air.
    if (s.surface_temperature <= check.indoor_temperature &&
        s.surface_relative_humidity < humidity_ - 1e-9)
      return broken("moisture: ", s.name, " drier than the room");
  }
  return "";
}

std::string HouseViewsSession::check_improvements() {
  const KvrHouseState& state = *house_.state;
  const kvr::house::Advice& advice = advice_.advice(house_, state);
  const KvrHousePhysics& physics = *house_.physics;
  if (advice.annual_need != state.annual_need) return "improvements: another annual need";
  if (advice.measure_count > kvr::house::measure_panel_count) return "improvements: too many";
  for (std::size_t i = 0; i < advice.measure_count; ++i) {
    const kvr::house::Measure& m = advice.measures[i];
    const std::string panel = kvr::house::panel_name(m.panel);
    if (!(m.saving > 0) || std::abs(m.annual_need + m.saving - advice.annual_need) > 1e-6)
      return broken("improvements: ", panel, " saves ", m.saving);
    if (i > 0 && m.saving > advice.measures[i - 1].saving)
      return broken("improvements: ", panel, " ranked below a smaller saving");
    if (m.words.rfind(panel + " : ", 0) != 0) return broken("improvements: \"", m.words, "\"");
    if (m.energy_class != physics.energy_class(m.house.need_per_m2))
      return broken("improvements: ", panel, " gives class ", m.energy_class);
    const auto* before = reinterpret_cast<const double*>(&state);
    const auto* after = reinterpret_cast<const double*>(&m.house);
    for (std::size_t p = 0; p < KVR_HOUSE_PARAMETER_COUNT; ++p) {
      if (before[p] == after[p]) continue;
      const KvrHouseStepper* stepper = stepper_at(physics, p * sizeof(double));
      if (stepper == nullptr || stepper->panel != m.panel ||
          !renovation_row(stepper->panel, stepper->row))
        return broken("improvements: the ", panel, " measure changes parameter ", p);
    }
  }
  if (advice.target_reached) {
    if (advice.target_measure_count == 0 || advice.target_class != advice.energy_class - 1)
      return broken("improvements: ", advice.target_words);
    for (std::size_t t = 0; t < advice.target_measure_count; ++t)
      if (advice.target_measures[t] >= advice.measure_count ||
          (t > 0 && advice.target_measures[t] <= advice.target_measures[t - 1]))
        return "improvements: the measures for the next class are not distinct and in order";
    if (advice.target_annual_need > advice.annual_need)
      return "improvements: the next class with a greater need";
  }
  if (advice.sobriety_possible && (!(advice.sobriety_temperature < state.indoor_temperature) ||
                                   advice.sobriety_total_loss > state.total_loss))
    return broken("improvements: ", advice.sobriety_words);
  return "";
}

}  // namespace maison::fuzzing
