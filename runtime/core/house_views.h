// What the runtime shows of the program's house besides the scene: which of
// its own views is open (the composition, condensation and mould, the
// « pistes d'amélioration »; one at a time), the indoor relative humidity
// the condensation view assumes, and the palette the house is coloured in.
// The runtime's commands change them; the program never sees them.
#ifndef KVR_CORE_HOUSE_VIEWS_H
#define KVR_CORE_HOUSE_VIEWS_H

#include <cstdint>

namespace kvr {

// The colours of the thermal camera, its legend and the energy classes:
// the scene's own, or cividis, which readers with the common colour-vision
// deficiencies tell apart (docs/scene-format.md, "Palettes").
enum class Palette : std::uint8_t { Standard, Cividis };

struct HouseViews {
  enum class Shown : std::uint8_t { None, Composition, Moisture, Improvements };
  Shown shown = Shown::None;
  int humidity = 50;  // %, 30 to 80 by 5
  Palette palette = Palette::Standard;
};

}  // namespace kvr

#endif
