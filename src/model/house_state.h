// Every parameter, coefficient and result of the house in one record. The
// frame steps work on it through the names of parameters.h, coefficients.h,
// heat_loss_model.h and surface_colours.h, which are its members; the
// runtime reads it whole (KvHouse) and the physics runs on copies of it.
#ifndef MAISON_MODEL_HOUSE_STATE_H
#define MAISON_MODEL_HOUSE_STATE_H

#include <cstddef>

#include "kvrhouse.h"

namespace maison {

inline KvrHouseState house;

// The parameter at byte offset `offset` of a state (the steppers' tables
// name parameters this way, so that they apply to copies as well).
inline double& parameter_at(KvrHouseState& state, std::size_t offset) {
  return *reinterpret_cast<double*>(reinterpret_cast<char*>(&state) + offset);
}

}  // namespace maison

#endif
