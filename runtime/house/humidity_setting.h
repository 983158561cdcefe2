// The indoor relative humidity is the runtime's own setting, kept in its
// settings file: [house] humidity = 30 to 80 in steps of 5 (read with the
// other settings by load_settings). Changing it rewrites that one line of
// the file and leaves every other line, comment and line end as it was.
#ifndef KVR_HOUSE_HUMIDITY_SETTING_H
#define KVR_HOUSE_HUMIDITY_SETTING_H

#include <ostream>
#include <string>
#include <string_view>

namespace kvr::house {

// The settings text with its [house] humidity set to `humidity`: the key's
// line replaced, or added at the top of an existing [house] section, or a
// [house] section added at the end.
std::string with_humidity(std::string_view settings_text, int humidity);

// Rewrites the settings file at `path` (created when missing) atomically.
// False, with the message on `errors`, when it cannot be read or written.
bool save_humidity(const std::string& path, int humidity, std::ostream& errors);

}  // namespace kvr::house

#endif
