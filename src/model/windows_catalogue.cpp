// The Windows block: glazing and gap become window_u and the texts A1 to A3;
// the window count goes to the scene through TALFENT.
#include <string_view>

#include "model/catalogues.h"
#include "model/coefficients.h"
#include "model/parameters.h"
#include "startup/linked_text.h"
#include "startup/scene_variables.h"

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

void apply_windows_catalogue() {
  for (const Glazing& glazing : glazings) {
    if (glazing_type != glazing.glazing_type) continue;
    write_label(A1, glazing.label);
    if (glazing.forced_gap != gap_not_forced) glazing_gap = glazing.forced_gap;
    if (glazing.window_u != u_by_gap) {
      window_u = glazing.window_u;
    } else {
      for (const DoubleGlazingGap& gap : double_glazing_gaps) {
        if (glazing_gap == gap.gap) window_u = gap.window_u;
      }
    }
    switch (glazing.gap_shown) {
      case GapShown::not_applicable:
        write_label(A2, "s/o");
        break;
      case GapShown::chosen_gap:
        write_number(A2, glazing_gap * 0.001, format_3_3f);
        break;
      case GapShown::forced_gap:
        write_number(A2, forced_gap_metres, format_3_3f);
        break;
    }
  }
  write_number(A3, window_count, format_3_0f);
  TALFENT.shown = static_cast<float>(window_count);
}

}  // namespace maison
