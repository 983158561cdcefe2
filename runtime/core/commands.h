// What the runtime itself can do on request, apart from anything the
// program asks: a key, a runtime-owned button of the scene or the headless
// backend's `commands` setting names one of these. None of them writes a
// bound record or adds a trace line.
#ifndef KVR_CORE_COMMANDS_H
#define KVR_CORE_COMMANDS_H

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kvr {

enum class Command : std::uint8_t {
  PinReference,      // copy the scene's reference records as they are now
  ClearReference,    // forget the pinned copy
  WriteReport,       // the printable report and its table as CSV
  FocusNext,         // the keyboard focus ring to the next control (Tab)
  FocusPrevious,     // ... to the previous one (Shift+Tab)
  ShowComposition,   // the house's composition shown, or hidden when it is
  ShowMoisture,      // condensation and mould on its inner surfaces
  ShowImprovements,  // « pistes d'amélioration »
  HumidityDown,      // the indoor relative humidity one step lower, kept in the settings
  HumidityUp,        // ... one step higher
  TogglePalette,     // the colour-blind-safe palette on or off, kept in the settings
};

// The names used in settings and in the scene: "reference",
// "clear_reference", "report", "focus_next", "focus_previous",
// "composition", "moisture", "improvements", "humidity_down",
// "humidity_up", "palette".
std::string_view command_name(Command command);
std::optional<Command> command_from_name(std::string_view name);

// One entry of the headless schedule: run `command` after the KvExec call
// numbered `exec` (from 1, as the pictures are numbered).
struct ScheduledCommand {
  std::uint64_t exec = 0;
  Command command = Command::PinReference;
};

struct CommandScheduleResult {
  std::vector<ScheduledCommand> schedule;  // in the order written
  std::string error;                       // empty when the text was read
};

// Reads "12:reference, 30:report, 40:focus_next*3": comma-separated
// entries CALL:NAME, CALL a whole number from 1, optionally *N (1 to 100)
// to run the command N times in a row.
CommandScheduleResult parse_command_schedule(std::string_view text);

}  // namespace kvr

#endif
