#include "startup/launch_code.h"

namespace maison {

void decode_launch_code(std::int32_t code) {
  launch_thousands = code / 1000;
  const std::int32_t below_thousand = code - 1000 * launch_thousands;
  launch_hundreds = below_thousand / 100;
  const std::int32_t below_hundred = below_thousand - 100 * launch_hundreds;
  launch_tens = below_hundred / 10;
  const std::int32_t units = below_hundred - 10 * launch_tens;
  launch_units = units == 9 ? 0 : units;
}

void build_return_launch_code() {
  return_launch_code = 1000 + 100 * launch_hundreds + 10 * launch_tens + launch_units;
}

}  // namespace maison
