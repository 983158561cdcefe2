// libFuzzer target: the program's whole frame. The bytes become a launch
// code and pointer states (aimed at the buttons, arrows and modal boxes),
// which the headless runtime plays to the program frame by frame, and the
// steps of the runtime's views of the house (runtime/house/); after every
// frame the invariants of the program's state must hold, and those of the
// open house view. A broken one prints the frame and the rule and aborts,
// so that the input is kept.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "frame_invariants.h"
#include "frame_session.h"
#include "house/house_physics.h"
#include "house_views_session.h"
#include "pointer_states.h"

extern "C" int LLVMFuzzerInitialize(int* /*argc*/, char*** /*argv*/) {
  if (!maison::fuzzing::prepare_sessions(MAISON_SCENE_FILE)) std::abort();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const maison::fuzzing::SessionInput session = maison::fuzzing::decode_session({data, size});
  maison::fuzzing::HouseViewsSession house(maison::house_view(), session.house_steps);
  maison::fuzzing::run_session(session, [&house](std::uint64_t frame) {
    std::string broken = maison::fuzzing::broken_invariant();
    if (broken.empty()) broken = house.after_frame(frame);
    if (!broken.empty()) {
      std::fprintf(stderr, "frame %llu: %s\n", static_cast<unsigned long long>(frame),
                   broken.c_str());
      std::abort();
    }
    return true;
  });
  return 0;
}
