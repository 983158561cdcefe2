// The Crawlspace block: the crawl space type becomes its resistance, its
// label and the skirt the scene shows.
#include <string_view>

#include "model/catalogues.h"
#include "model/coefficients.h"
#include "model/parameters.h"
#include "startup/linked_text.h"
#include "startup/scene_variables.h"

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

void apply_crawlspace_catalogue() {
  for (const Crawlspace& crawlspace : crawlspaces) {
    if (crawlspace_type != crawlspace.crawlspace_type) continue;
    write_label(A1, crawlspace.label);
    crawlspace_resistance = crawlspace.resistance;
    TALMRSOL.shown = crawlspace.closed_skirt;
    TALFNSOL.shown = crawlspace.vented_skirt;
  }
}

}  // namespace maison
