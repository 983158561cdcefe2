// The runtime's commands by name, the headless schedule and the two new
// settings (commands, record) with their messages.
#include "commands.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <sstream>

#include "settings.h"

namespace {

using kvr::Command;
using kvr::parse_command_schedule;

TEST(CommandSchedule, EntriesKeepTheirOrderAndRepeatsExpand) {
  kvr::CommandScheduleResult r =
      parse_command_schedule(" 12:reference, 30 : report,40:focus_next*3 ,2:clear_reference");
  ASSERT_EQ(r.error, "");
  ASSERT_EQ(r.schedule.size(), 6u);
  EXPECT_EQ(r.schedule[0].exec, 12u);
  EXPECT_EQ(r.schedule[0].command, Command::PinReference);
  EXPECT_EQ(r.schedule[1].exec, 30u);
  EXPECT_EQ(r.schedule[1].command, Command::WriteReport);
  for (int i = 2; i < 5; ++i) {
    EXPECT_EQ(r.schedule[static_cast<std::size_t>(i)].exec, 40u);
    EXPECT_EQ(r.schedule[static_cast<std::size_t>(i)].command, Command::FocusNext);
  }
  EXPECT_EQ(r.schedule[5].exec, 2u);
  EXPECT_EQ(r.schedule[5].command, Command::ClearReference);
  EXPECT_TRUE(parse_command_schedule("").schedule.empty());
  EXPECT_EQ(parse_command_schedule("").error, "");
}

TEST(CommandSchedule, EveryNameReadsBack) {
  for (Command c :
       {Command::PinReference, Command::ClearReference, Command::WriteReport, Command::FocusNext,
        Command::FocusPrevious, Command::ShowComposition, Command::ShowMoisture,
        Command::ShowImprovements, Command::HumidityDown, Command::HumidityUp})
    EXPECT_EQ(kvr::command_from_name(kvr::command_name(c)), c);
  EXPECT_FALSE(kvr::command_from_name("Reference"));
}

TEST(CommandSchedule, MalformedEntriesAreRefusedWhole) {
  struct Case {
    const char* text;
    const char* problem;
  };
  for (const Case& c :
       {Case{"12 reference", "is not CALL:COMMAND"}, Case{"0:report", "not a call number from 1"},
        Case{"-3:report", "not a call number from 1"}, Case{"x:report", "not a call number from 1"},
        Case{"4:pin", "unknown command \"pin\""}, Case{"4:report*0", "repeat after '*'"},
        Case{"4:report*101", "repeat after '*'"}, Case{"4:report,,5:report", "empty entry"},
        Case{"4:report,", "empty entry"}}) {
    kvr::CommandScheduleResult r = parse_command_schedule(c.text);
    EXPECT_NE(r.error.find(c.problem), std::string::npos) << c.text << ": " << r.error;
    EXPECT_TRUE(r.schedule.empty()) << c.text;
  }
}

TEST(CommandSettings, ScheduleAndRecordAreReadAndProblemsNamed) {
  unsetenv("KVR_RECORD");
  kvr::Settings s;
  std::ostringstream errors;
  kvr::parse_settings("[headless]\ncommands = 3:report\n[window]\nrecord = demo.txt\n", s, errors);
  EXPECT_EQ(errors.str(), "");
  ASSERT_EQ(s.commands.size(), 1u);
  EXPECT_EQ(s.commands[0].exec, 3u);
  EXPECT_EQ(s.record, "demo.txt");

  kvr::Settings bad;
  std::ostringstream problems;
  kvr::parse_settings("[headless]\ncommands = 3:report\ncommands = 3:print\n", bad, problems);
  EXPECT_NE(problems.str().find("kvr.ini:3: commands: unknown command \"print\""),
            std::string::npos)
      << problems.str();
  ASSERT_EQ(bad.commands.size(), 1u);  // the earlier line's value is kept
  EXPECT_EQ(bad.commands[0].command, Command::WriteReport);
}

TEST(CommandSettings, TheRecordVariableWinsOverTheFile) {
  setenv("KVR_RECORD", "from-env.txt", 1);
  kvr::Settings s;
  std::ostringstream errors;
  kvr::parse_settings("[window]\nrecord = from-file.txt\n", s, errors);
  kvr::apply_environment(s, errors);
  EXPECT_EQ(s.record, "from-env.txt");
  unsetenv("KVR_RECORD");
}

}  // namespace
