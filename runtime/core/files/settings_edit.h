// Changing one setting in the settings file, as the runtime's commands do
// for what they keep for the next run ([house] humidity, [view] palette):
// that key's line is rewritten and every other line, comment and line end
// stays as it was.
#ifndef KVR_CORE_SETTINGS_EDIT_H
#define KVR_CORE_SETTINGS_EDIT_H

#include <ostream>
#include <string>
#include <string_view>

namespace kvr {

// The settings text with `key` of [`section`] set to `value`: the key's
// line replaced, or added at the top of an existing section, or the
// section added at the end.
std::string with_setting(std::string_view settings_text, std::string_view section,
                         std::string_view key, std::string_view value);

// Rewrites the settings file at `path` (created when missing) atomically.
// False, with the message on `errors` naming `what` is not kept, when it
// cannot be read or written.
bool save_setting(const std::string& path, std::string_view section, std::string_view key,
                  std::string_view value, std::string_view what, std::ostream& errors);

}  // namespace kvr

#endif
