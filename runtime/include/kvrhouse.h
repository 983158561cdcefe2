// The house as the program hands it to the runtime: one read-only view of
// every parameter, coefficient and result of the program at full precision,
// and the program's own physics to evaluate copies of it. Plain C, no
// dependency on the program: the runtime (and any replacement of it) reads
// the house through this header alone.
//
// The program calls KvHouse (kvrrun.h) once at start-up with a KvrHouse that
// lives for the whole run. `state` is the program's own storage: the frame
// writes it, the runtime only reads it. To ask "what if", copy the state,
// change its parameters and hand the copy to `physics->evaluate`, which runs
// the program's catalogues and heat-loss model on the copy alone.
#ifndef KVRHOUSE_H
#define KVRHOUSE_H

#include <stddef.h>
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

// Raised whenever a member is added, moved or changes meaning.
#define KVR_HOUSE_VERSION 1

// Every double the house is made of. The first group are the 23 parameters
// (whole numbers or halves, compared for equality), then the envelope
// coefficients the catalogues derive from them, then the results of the
// heat-loss model and the surface temperatures the program shows.
typedef struct KvrHouseState {
  // Parameters, in the order the steppers visit them.
  double wall_type;                  // 1 to 5, material
  double wall_thickness;             // 1 to 3, level
  double wall_insulation;            // 1 "sans" to 5
  double wall_insulation_thickness;  // 0 (none chosen) to 3
  double wall_render;                // 1 "sans", 2 "enduit chaux"
  double wall_render_thickness;      // 0 (none chosen) to 2
  double glazing_type;               // 1 simple, 2 double, 3 triple
  double glazing_gap;                // 4, 8, 12 or 16 mm
  double window_count;               // 1 to 3
  double floor_type;                 // 1 to 4
  double floor_thickness;            // 1 to 3
  double floor_insulation;           // 1 "sans" to 5
  double floor_insulation_thickness;
  double ceiling_type;
  double ceiling_thickness;
  double ceiling_insulation;
  double ceiling_insulation_thickness;
  double crawlspace_type;     // 1 ouvert, 2 ventile, 3 ferme
  double ventilation_type;    // 1 simple flux, 2 double flux, 3 double HR
  double air_change_rate;     // 0.5, 1.0 or 1.5 per hour
  double indoor_temperature;  // 16 to 22 degrees Celsius
  double region;              // 1 to 3
  double altitude_band;       // 1 or 2

  // Envelope coefficients: W/(m.K), m, W/(m2.K), m2.K/W, degrees Celsius.
  double wall_lambda;
  double wall_depth;
  double wall_insulation_lambda;
  double wall_insulation_depth;
  double wall_lining_depth;
  double render_depth;
  double floor_lambda;
  double floor_depth;
  double floor_insulation_lambda;
  double floor_insulation_depth;
  double ceiling_lambda;
  double ceiling_depth;
  double ceiling_insulation_lambda;
  double ceiling_insulation_depth;
  double ceiling_surface_resistance;
  double window_u;
  double crawlspace_resistance;
  double outdoor_base_temperature;
  double degree_days;

  // Results of the heat-loss model.
  double wall_resistance;  // m2.K/W
  double floor_resistance;
  double ceiling_resistance;
  double wall_u;  // W/(m2.K)
  double floor_u;
  double ceiling_u;
  double door_u;
  double window_area;  // m2
  double wall_area;
  double floor_factor;
  double ceiling_factor;
  double wall_loss_coefficient;  // W/K
  double window_loss_coefficient;
  double door_loss_coefficient;
  double floor_loss_coefficient;
  double ceiling_loss_coefficient;
  double ventilation_loss_coefficient;
  double total_loss_coefficient;
  double temperature_difference;  // K
  double wall_loss;               // W
  double window_loss;
  double door_loss;
  double floor_loss;
  double ceiling_loss;
  double ventilation_loss;
  double total_loss;
  double wall_loss_share;  // per cent
  double window_loss_share;
  double door_loss_share;
  double floor_loss_share;
  double ceiling_loss_share;
  double ventilation_loss_share;
  double annual_need;  // kWh per year
  double need_per_m2;  // kWh per m2 and year

  // The surface temperatures the program shows and colours (its own
  // simplified rule, degrees Celsius).
  double wall_surface_temperature;
  double floor_surface_temperature;
  double ceiling_surface_temperature;
  double door_surface_temperature;
  double window_surface_temperature;
} KvrHouseState;

// The first KVR_HOUSE_PARAMETER_COUNT doubles of a state are its
// parameters; with the coefficients after them, the first
// KVR_HOUSE_INPUT_COUNT are everything its results are computed from.
#define KVR_HOUSE_PARAMETER_COUNT 23
#define KVR_HOUSE_INPUT_COUNT 42

// The eight panels, in the order of the program's panel menu.
typedef enum KvrHousePanel {
  KVR_PANEL_WALLS = 0,
  KVR_PANEL_FLOOR = 1,
  KVR_PANEL_CEILING = 2,
  KVR_PANEL_CRAWLSPACE = 3,
  KVR_PANEL_WINDOWS = 4,
  KVR_PANEL_VENTILATION = 5,
  KVR_PANEL_TEMPERATURE = 6,
  KVR_PANEL_LOCATION = 7
} KvrHousePanel;
#define KVR_HOUSE_PANEL_COUNT 8

// One stepper row: which parameter its arrows move and how. The parameter
// is the double at byte `offset` of a KvrHouseState; minus acts while it is
// above minus_gate, plus while it is below plus_gate.
typedef struct KvrHouseStepper {
  int32_t panel;    // KvrHousePanel
  int32_t row;      // 1 to 6, the text field A<row> that shows the choice
  uint32_t offset;  // of the parameter in KvrHouseState, in bytes
  double minus_gate;
  double plus_gate;
  double step;
  double start_value;  // given before the first frame (0: a level none chosen)
} KvrHouseStepper;

// The texts A1 to A6 a panel shows for a house, as the program writes them
// (labels as they are, numbers with their printf format and padding).
// A row the panel does not write is empty.
typedef struct KvrHousePanelTexts {
  uint32_t rows;     // rows the panel uses, 1 to 6
  char text[6][24];  // zero-terminated
} KvrHousePanelTexts;

// The program's physics, pure: each function reads and writes only what it
// is handed.
typedef struct KvrHousePhysics {
  uint32_t version;  // KVR_HOUSE_VERSION
  uint32_t size;     // sizeof(KvrHousePhysics)
  // Brings the coefficients of *state in line with its parameters (the six
  // catalogue blocks, as if each panel were open), then computes every
  // result and surface temperature, in the frame's order of operations.
  void (*evaluate)(KvrHouseState* state);
  // The texts panel `panel` would show for `state` if it were open. Does
  // not change *state.
  void (*panel_texts)(const KvrHouseState* state, int32_t panel, KvrHousePanelTexts* out);
  // The energy class letter of a need per m2 ('A' to 'G').
  char (*energy_class)(double need_per_m2);
  // Every stepper row of every panel, in the order the program visits them.
  const KvrHouseStepper* steppers;
  uint32_t stepper_count;
} KvrHousePhysics;

// What KvHouse hands over; valid for the whole run.
typedef struct KvrHouse {
  uint32_t version;  // KVR_HOUSE_VERSION
  uint32_t size;     // sizeof(KvrHouse)
  const KvrHouseState* state;
  const KvrHousePhysics* physics;
} KvrHouse;

#ifdef __cplusplus
}
#endif

#endif
