// The Windows block: glazing and gap become window_u and the texts A1 to A3;
// the window count goes to the scene through TALFENT.
#include <string_view>

#include "model/catalogues.h"
#include "model/coefficients.h"
#include "model/panel_output.h"

namespace maison {
namespace {

enum class GapShown : std::uint8_t { not_applicable, chosen_gap, forced_gap };

constexpr double u_by_gap = 0;  // window_u comes from the gap table
constexpr double gap_not_forced = 0;

struct Glazing {
  double glazing_type;
  std::string_view label;
  double window_u;     // W/(m2.K)
  double forced_gap;   // mm
  GapShown gap_shown;  // what A2 shows
};

constexpr Glazing glazings[] = {
    // glazing_type, label, window_u, gap forced, A2
    {1, "simple", 5.05, gap_not_forced, GapShown::not_applicable},
    {2, "double", u_by_gap, gap_not_forced, GapShown::chosen_gap},
    {3, "triple", 1.1, 16, GapShown::forced_gap},
};

constexpr double forced_gap_metres = 0.016;

struct DoubleGlazingGap {
  double gap;       // mm
  double window_u;  // W/(m2.K)
};

// The 4 mm gap is the thinnest the stepper reaches; its U-value continues
// the trend of the others, so every glazing state has its own value.
constexpr DoubleGlazingGap double_glazing_gaps[] = {
    // glazing_gap, window_u
    {4, 3.6},
    {8, 3.3},
    {12, 3.05},
    {16, 2.75},
};

}  // namespace

void apply_windows_catalogue(KvrHouseState& s, PanelOutput& out) {
  for (const Glazing& glazing : glazings) {
    if (s.glazing_type != glazing.glazing_type) continue;
    out.label(1, glazing.label);
    if (glazing.forced_gap != gap_not_forced) s.glazing_gap = glazing.forced_gap;
    if (glazing.window_u != u_by_gap) {
      s.window_u = glazing.window_u;
    } else {
      for (const DoubleGlazingGap& gap : double_glazing_gaps) {
        if (s.glazing_gap == gap.gap) s.window_u = gap.window_u;
      }
    }
    switch (glazing.gap_shown) {
      case GapShown::not_applicable:
        out.label(2, "s/o");
        break;
      case GapShown::chosen_gap:
        out.number(2, s.glazing_gap * 0.001, format_3_3f);
        break;
      case GapShown::forced_gap:
        out.number(2, forced_gap_metres, format_3_3f);
        break;
    }
  }
  out.number(3, s.window_count, format_3_0f);
  out.show(SceneSwitch::talfent, static_cast<float>(s.window_count));
}

}  // namespace maison
