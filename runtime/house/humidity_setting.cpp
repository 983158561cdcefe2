#include "humidity_setting.h"

#include <string>

#include "settings_edit.h"

namespace kvr::house {

std::string with_humidity(std::string_view text, int humidity) {
  return with_setting(text, "house", "humidity", std::to_string(humidity));
}

bool save_humidity(const std::string& path, int humidity, std::ostream& errors) {
  return save_setting(path, "house", "humidity", std::to_string(humidity), "the humidity", errors);
}

}  // namespace kvr::house
