#include "startup/initial_values.h"

#include "model/coefficients.h"
#include "model/parameters.h"
#include "startup/scene_bindings.h"
#include "startup/scene_variables.h"

namespace maison {

void set_initial_values() {
  // The second float of every switch is 1.0 for the whole run.
  for (const SceneBinding& binding : scene_bindings()) {
    if (binding.kind == RecordKind::display_switch) {
      static_cast<DisplaySwitch*>(binding.record)->second = 1.0f;
    }
  }
  // The brick wall, one window and the first site; every panel and view hidden.
  TALBRIK.shown = 1.0f;
  TALFENT.shown = 1.0f;
  TALPACBA.shown = 1.0f;

  for (std::int32_t* indicator :
       {&colvis0, &colvis1, &colvis2, &colvis3, &colvis4, &colvis5, &colvis6}) {
    *indicator = 3;
  }

  MURBORD = {240, 89, 84};
  MURFOND = {201, 76, 71};
  MURSOMBR = {178, 66, 62};

  set_parameter_start_values();
  set_coefficient_start_values();
}

}  // namespace maison
