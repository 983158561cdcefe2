#include "house/house_physics.h"

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <string_view>

#include "feedback/surface_colours.h"
#include "input/panels.h"
#include "model/catalogues.h"
#include "model/house_state.h"
#include "model/panel_output.h"
#include "model/parameters.h"
#include "thermal/heat_loss_model.h"
#include "thermal/result_fields.h"

namespace maison {
namespace {

// The runtime numbers the panels as the program's menu does.
static_assert(index_of(Panel::walls) == KVR_PANEL_WALLS &&
              index_of(Panel::floor) == KVR_PANEL_FLOOR &&
              index_of(Panel::ceiling) == KVR_PANEL_CEILING &&
              index_of(Panel::crawlspace) == KVR_PANEL_CRAWLSPACE &&
              index_of(Panel::windows) == KVR_PANEL_WINDOWS &&
              index_of(Panel::ventilation) == KVR_PANEL_VENTILATION &&
              index_of(Panel::temperature) == KVR_PANEL_TEMPERATURE &&
              index_of(Panel::location) == KVR_PANEL_LOCATION &&
              panel_count == KVR_HOUSE_PANEL_COUNT);
// The parameters lead the state, in the steppers' order, then the coefficients.
static_assert(offsetof(KvrHouseState, altitude_band) ==
              (KVR_HOUSE_PARAMETER_COUNT - 1) * sizeof(double));
static_assert(offsetof(KvrHouseState, degree_days) == (KVR_HOUSE_INPUT_COUNT - 1) * sizeof(double));

constexpr std::uint32_t panel_rows[KVR_HOUSE_PANEL_COUNT] = {
    // walls, floor, ceiling, crawl space, windows, ventilation, temperature, location
    6, 4, 4, 1, 3, 2, 1, 2};

void record_panel(KvrHouseState& copy, int panel, RecordedTexts& texts) {
  switch (panel) {
    case KVR_PANEL_WALLS:
      apply_wall_catalogue(copy, texts);
      break;
    case KVR_PANEL_FLOOR:
      apply_floor_catalogue(copy, texts);
      break;
    case KVR_PANEL_CEILING:
      apply_ceiling_catalogue(copy, texts);
      break;
    case KVR_PANEL_CRAWLSPACE:
      apply_crawlspace_catalogue(copy, texts);
      break;
    case KVR_PANEL_WINDOWS:
      apply_windows_catalogue(copy, texts);
      break;
    case KVR_PANEL_VENTILATION:
      texts.label(1, ventilation_label(copy.ventilation_type));
      texts.number(2, copy.air_change_rate, format_3_1f);
      break;
    case KVR_PANEL_TEMPERATURE:
      texts.number(1, copy.indoor_temperature, format_3_0f);
      break;
    case KVR_PANEL_LOCATION:
      apply_location_catalogue(copy, texts);
      break;
    default:
      break;
  }
}

void evaluate_entry(KvrHouseState* state) {
  evaluate_house(*state);
}

void panel_texts_entry(const KvrHouseState* state, int32_t panel, KvrHousePanelTexts* out) {
  house_panel_texts(*state, panel, *out);
}

char energy_class_entry(double need_per_m2) {
  const std::string_view letter = energy_class(need_per_m2);
  return letter.empty() ? '\0' : letter.front();
}

}  // namespace

void evaluate_house(KvrHouseState& state) {
  apply_every_catalogue(state, no_output());
  compute_heat_losses(state);
  compute_surface_temperatures(state);
}

void house_panel_texts(const KvrHouseState& state, int panel, KvrHousePanelTexts& out) {
  out = {};
  if (panel < 0 || panel >= KVR_HOUSE_PANEL_COUNT) return;
  KvrHouseState copy = state;
  RecordedTexts texts;
  record_panel(copy, panel, texts);
  out.rows = panel_rows[panel];
  for (std::size_t row = 1; row <= RecordedTexts::rows; ++row) {
    const std::string_view text = texts.text(row);
    const std::size_t count = std::min(text.size(), sizeof out.text[0] - 1);
    std::memcpy(out.text[row - 1], text.data(), count);
    out.text[row - 1][count] = '\0';
  }
}

const KvrHousePhysics& house_physics() {
  static const KvrHousePhysics physics = {
      KVR_HOUSE_VERSION,
      sizeof(KvrHousePhysics),
      &evaluate_entry,
      &panel_texts_entry,
      &energy_class_entry,
      stepper_table().data(),
      static_cast<std::uint32_t>(stepper_table().size()),
  };
  return physics;
}

const KvrHouse& house_view() {
  static const KvrHouse view = {KVR_HOUSE_VERSION, sizeof(KvrHouse), &house, &house_physics()};
  return view;
}

}  // namespace maison
