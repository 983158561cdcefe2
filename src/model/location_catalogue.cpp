// The Location block: region and altitude band become the site's base
// outdoor temperature and degree-days, its two labels and its map marker.
#include <string_view>

#include "model/catalogues.h"
#include "model/coefficients.h"
#include "model/panel_output.h"

namespace maison {
namespace {

struct Site {
  double region;
  double altitude_band;
  std::string_view region_label;
  std::string_view altitude_label;
  double outdoor_base_temperature;  // degrees Celsius
  double degree_days;
  SceneSwitch marker;
};

constexpr Site sites[] = {
    // region, altitude_band, A1, A2, base outdoor temperature, degree-days, marker
    {1, 1, "Cote d'Azur", "10 m", -2, 1700, SceneSwitch::talpacba},
    {1, 2, "Cote d'Azur", "500 m", -4, 2000, SceneSwitch::talpacho},
    {2, 1, "Auvergne", "500 m", -11, 2500, SceneSwitch::taljurba},
    {2, 2, "Auvergne", "1000 m", -16, 3000, SceneSwitch::taljurho},
    {3, 1, "Alpes", "500 m", -13, 2700, SceneSwitch::talalpba},
    {3, 2, "Alpes", "1000 m", -18, 3200, SceneSwitch::talalpho},
};

// Hidden in this order before the chosen site's marker is shown.
constexpr SceneSwitch markers[] = {SceneSwitch::talpacho, SceneSwitch::talpacba,
                                   SceneSwitch::taljurho, SceneSwitch::taljurba,
                                   SceneSwitch::talalpho, SceneSwitch::talalpba};

}  // namespace

void apply_location_catalogue(KvrHouseState& s, PanelOutput& out) {
  for (const Site& site : sites) {
    if (s.region != site.region || s.altitude_band != site.altitude_band) continue;
    out.label(1, site.region_label);
    out.label(2, site.altitude_label);
    s.outdoor_base_temperature = site.outdoor_base_temperature;
    s.degree_days = site.degree_days;
    for (SceneSwitch marker : markers) out.show(marker, 0.0f);
    out.show(site.marker, 1.0f);
  }
}

}  // namespace maison
