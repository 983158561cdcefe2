// The Crawlspace block: the crawl space type becomes its resistance, its
// label and the skirt the scene shows.
#include <string_view>

#include "model/catalogues.h"
#include "model/coefficients.h"
#include "model/panel_output.h"

namespace maison {
namespace {

struct Crawlspace {
  double crawlspace_type;
  std::string_view label;
  double resistance;  // m2.K/W
  float closed_skirt;
  float vented_skirt;
};

constexpr Crawlspace crawlspaces[] = {
    // crawlspace_type, label, crawlspace_resistance, TALMRSOL, TALFNSOL
    {1, "ouvert", 0.22, 0.0f, 0.0f},
    {2, "ventile", 0.28, 0.0f, 1.0f},
    {3, "ferme", 0.34, 1.0f, 0.0f},
};

}  // namespace

void apply_crawlspace_catalogue(KvrHouseState& s, PanelOutput& out) {
  for (const Crawlspace& crawlspace : crawlspaces) {
    if (s.crawlspace_type != crawlspace.crawlspace_type) continue;
    out.label(1, crawlspace.label);
    s.crawlspace_resistance = crawlspace.resistance;
    out.show(SceneSwitch::talmrsol, crawlspace.closed_skirt);
    out.show(SceneSwitch::talfnsol, crawlspace.vented_skirt);
  }
}

}  // namespace maison
