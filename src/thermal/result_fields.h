// The results table of "FONDRES" and the energy class in KLASS.
#ifndef MAISON_THERMAL_RESULT_FIELDS_H
#define MAISON_THERMAL_RESULT_FIELDS_H

#include <string_view>

namespace maison {

// The letter "A" to "G" of an annual need per m2 of floor. The need is
// rounded to whole kWh (halves away from zero) so that no need falls between
// two classes.
std::string_view energy_class(double need_per_m2);

// Rewrites every field of the table, B1 to G1 in order, then KLASS.
void write_result_fields();

}  // namespace maison

#endif
