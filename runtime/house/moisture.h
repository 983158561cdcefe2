// Condensation and mould on the inner surfaces of the house, at the site's
// base outdoor temperature. For each element the interior surface
// temperature is θsi = θi − U·Rsi·Δθ, with Δθ the temperature difference
// the heat-loss model applies to that element (indoor minus base outdoor
// temperature, times the floor or ceiling factor for those two), and Rsi
// the interior surface resistance of EN ISO 13788 for these checks: 0.25
// m²·K/W on opaque elements, 0.13 on glazing. The indoor air holds the
// runtime's indoor relative humidity; the dew point and the saturation
// pressures come from the Magnus formula with a = 17.62 and b = 243.12 °C
// (Sonntag 1990, as in the WMO guide), over water.
#ifndef KVR_HOUSE_MOISTURE_H
#define KVR_HOUSE_MOISTURE_H

#include <array>

#include "kvrhouse.h"

namespace kvr::house {

inline constexpr double magnus_a = 17.62;
inline constexpr double magnus_b = 243.12;                 // °C
inline constexpr double opaque_surface_resistance = 0.25;  // m²·K/W
inline constexpr double glazing_surface_resistance = 0.13;
// Above this relative humidity at a surface, mould can grow (EN ISO 13788).
inline constexpr double mould_humidity_limit = 80;  // %

// The runtime's indoor relative humidity setting, in %.
inline constexpr int humidity_lowest = 30;
inline constexpr int humidity_highest = 80;
inline constexpr int humidity_step = 5;
inline constexpr int humidity_default = 50;

enum class Surface { walls, windows, door, floor, ceiling };
inline constexpr int surface_count = 5;

struct SurfaceCheck {
  Surface surface;
  const char* name;  // « murs », « fenêtres », « porte », « plancher », « plafond »
  double u;          // W/(m²·K)
  double temperature_difference;     // K, as the model applies it to the element
  double surface_resistance;         // m²·K/W
  double surface_temperature;        // °C
  double surface_relative_humidity;  // %
  bool condensation;                 // below the dew point
  bool mould_risk;                   // surface relative humidity above 80 %
  // « condensation », « risque de moisissure » or « sain ».
  const char* verdict;
};

struct MoistureCheck {
  double indoor_temperature;        // °C
  double indoor_relative_humidity;  // %
  double dew_point;                 // °C
  std::array<SurfaceCheck, surface_count> surfaces;
};

// Saturation vapour pressure over water (hPa) at `temperature` (°C).
double saturation_pressure(double temperature);

// Dew point (°C) of air at `temperature` (°C) and `relative_humidity` (%).
double dew_point(double temperature, double relative_humidity);

// The five inner surfaces of a house whose results are up to date (the
// program's house, or a copy after evaluate).
MoistureCheck check_moisture(const KvrHouseState& state, double indoor_relative_humidity);

// The humidity setting one step up (+1) or down (-1), kept within 30 to 80 %.
int step_humidity(int humidity, int direction);

}  // namespace kvr::house

#endif
