// The Location block: region and altitude band become the site's base
// outdoor temperature and degree-days, its two labels and its map marker.
#include <string_view>

#include "model/catalogues.h"
#include "model/coefficients.h"
#include "model/parameters.h"
#include "startup/linked_text.h"
#include "startup/scene_variables.h"

namespace maison {
namespace {

struct Site {
  double region;
  double altitude_band;
  std::string_view region_label;
  std::string_view altitude_label;
  double outdoor_base_temperature;  // degrees Celsius
  double degree_days;
  DisplaySwitch* marker;
};

constexpr Site sites[] = {
    // region, altitude_band, A1, A2, base outdoor temperature, degree-days, marker
    {1, 1, "Cote d'Azur", "10 m", -2, 1700, &TALPACBA},
    {1, 2, "Cote d'Azur", "500 m", -4, 2000, &TALPACHO},
    {2, 1, "Auvergne", "500 m", -11, 2500, &TALJURBA},
    {2, 2, "Auvergne", "1000 m", -16, 3000, &TALJURHO},
    {3, 1, "Alpes", "500 m", -13, 2700, &TALALPBA},
    {3, 2, "Alpes", "1000 m", -18, 3200, &TALALPHO},
};

// Hidden in this order before the chosen site's marker is shown.
constexpr DisplaySwitch* markers[] = {&TALPACHO, &TALPACBA, &TALJURHO,
                                      &TALJURBA, &TALALPHO, &TALALPBA};

}  // namespace

void apply_location_catalogue() {
  for (const Site& site : sites) {
    if (region != site.region || altitude_band != site.altitude_band) continue;
    write_label(A1, site.region_label);
    write_label(A2, site.altitude_label);
    outdoor_base_temperature = site.outdoor_base_temperature;
    degree_days = site.degree_days;
    for (DisplaySwitch* marker : markers) marker->shown = 0.0f;
    site.marker->shown = 1.0f;
  }
}

}  // namespace maison
