// The choice of the runtime's configuration variant, copied over kvr.ini
// before the runtime starts.
#ifndef MAISON_STARTUP_CONFIGURATION_COPY_H
#define MAISON_STARTUP_CONFIGURATION_COPY_H

#include <cstdint>

namespace maison {

inline constexpr std::int32_t copy_done = 0;
inline constexpr std::int32_t copy_source_unreadable = 1;
inline constexpr std::int32_t copy_destination_unwritable = 2;
inline constexpr std::int32_t copy_failed_midway = 3;

// Copies source over destination byte for byte, in reads of 512 bytes. The
// bytes go to a temporary file beside the destination, which replaces it only
// once every read and write has succeeded, so a failure never leaves a
// truncated destination.
std::int32_t copy_file(const char* source, const char* destination);

// Units digit 1 copies "kvrbdo.ini", 2 copies "kvrnu.ini" over "kvr.ini";
// any other digit copies nothing. The result of the copy is not examined.
void choose_configuration();

}  // namespace maison

#endif
