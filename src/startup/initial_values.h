#ifndef MAISON_STARTUP_INITIAL_VALUES_H
#define MAISON_STARTUP_INITIAL_VALUES_H

namespace maison {

// Gives every variable that does not start at zero its start value: the
// linked records, the parameters and the coefficients. Runs once, after the
// bindings and before the scene plays its first action.
void set_initial_values();

}  // namespace maison

#endif
