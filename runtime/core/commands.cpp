#include "commands.h"

#include <charconv>

namespace kvr {

namespace {

struct NamedCommand {
  Command command;
  std::string_view name;
};

constexpr NamedCommand kNames[] = {
    {Command::PinReference, "reference"},       {Command::ClearReference, "clear_reference"},
    {Command::WriteReport, "report"},           {Command::FocusNext, "focus_next"},
    {Command::FocusPrevious, "focus_previous"}, {Command::ShowComposition, "composition"},
    {Command::ShowMoisture, "moisture"},        {Command::ShowImprovements, "improvements"},
    {Command::HumidityDown, "humidity_down"},   {Command::HumidityUp, "humidity_up"},
    {Command::TogglePalette, "palette"},
};

constexpr std::uint64_t kMaxRepeat = 100;

std::string_view trim(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  return text;
}

// `text` in double quotes, built by appending (GCC 12 warns falsely on
// "literal" + std::string here).
std::string quoted(std::string_view text) {
  std::string out;
  out.reserve(text.size() + 2);
  out.push_back('"');
  out.append(text);
  out.push_back('"');
  return out;
}

bool whole_number(std::string_view text, std::uint64_t& out) {
  if (text.empty()) return false;
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), out);
  return ec == std::errc() && end == text.data() + text.size();
}

// One "CALL:NAME[*N]" entry; returns the problem or "".
std::string read_entry(std::string_view entry, std::vector<ScheduledCommand>& out) {
  std::size_t colon = entry.find(':');
  if (colon == std::string_view::npos) return quoted(entry) + " is not CALL:COMMAND";
  std::uint64_t call = 0;
  std::string_view number = trim(entry.substr(0, colon));
  if (!whole_number(number, call) || call == 0)
    return quoted(number) + " is not a call number from 1";
  std::string_view name = trim(entry.substr(colon + 1));
  std::uint64_t repeat = 1;
  if (std::size_t star = name.find('*'); star != std::string_view::npos) {
    std::string_view count = trim(name.substr(star + 1));
    if (!whole_number(count, repeat) || repeat < 1 || repeat > kMaxRepeat)
      return "the repeat after '*' must be from 1 to " + std::to_string(kMaxRepeat);
    name = trim(name.substr(0, star));
  }
  std::optional<Command> command = command_from_name(name);
  if (!command) {
    std::string problem = "unknown command " + quoted(name) + " (known:";
    for (const NamedCommand& n : kNames) {
      problem.push_back(' ');
      problem.append(n.name);
    }
    problem.push_back(')');
    return problem;
  }
  for (std::uint64_t i = 0; i < repeat; ++i) out.push_back({call, *command});
  return "";
}

}  // namespace

std::string_view command_name(Command command) {
  for (const NamedCommand& n : kNames)
    if (n.command == command) return n.name;
  return "?";
}

std::optional<Command> command_from_name(std::string_view name) {
  for (const NamedCommand& n : kNames)
    if (n.name == name) return n.command;
  return std::nullopt;
}

CommandScheduleResult parse_command_schedule(std::string_view text) {
  CommandScheduleResult result;
  std::string_view rest = trim(text);
  while (!rest.empty()) {
    std::size_t comma = rest.find(',');
    std::string_view entry = trim(rest.substr(0, comma));
    if (entry.empty()) {
      result.error = "empty entry in the list";
      result.schedule.clear();
      return result;
    }
    result.error = read_entry(entry, result.schedule);
    if (!result.error.empty()) {
      result.schedule.clear();
      return result;
    }
    if (comma == std::string_view::npos) break;
    rest = rest.substr(comma + 1);
    if (trim(rest).empty()) {
      result.error = "empty entry in the list";
      result.schedule.clear();
      return result;
    }
  }
  return result;
}

}  // namespace kvr
