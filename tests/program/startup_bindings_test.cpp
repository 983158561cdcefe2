// Start-up: the bindings, the start state the scene first sees, and the
// byte layout of texts.
#include <cstring>
#include <map>
#include <set>

#include "program_test.h"
#include "startup/initial_values.h"
#include "startup/linked_text.h"
#include "startup/scene_bindings.h"
#include "startup/scene_variables.h"

namespace maison::testing {
namespace {

using StartupTest = ProgramTest;

TEST_F(StartupTest, BindsNinetyFiveVariablesInTableOrderOverNinetyTwoRecords) {
  bind_scene_variables();
  const auto& links = kvr_double::links();
  ASSERT_EQ(links.size(), 95u);
  EXPECT_EQ(links[0].object + "." + links[0].variable, "HOME.TALBRIK");
  EXPECT_EQ(links[40].object + "." + links[40].variable, "HOMBASE.TALTEMP");
  EXPECT_EQ(links[49].object + "." + links[49].variable, "HOME.A1");
  EXPECT_EQ(links[93].object + "." + links[93].variable, "FONDRES.KLASS");
  EXPECT_EQ(links[94].object + "." + links[94].variable, "DECBS2A.TALNUM");

  // The three records bound twice: rows 44 to 46 reach the records of rows 5, 6 and 4.
  EXPECT_EQ(links[43].variable, "TALMRSOL");
  EXPECT_EQ(links[43].record, links[4].record);
  EXPECT_EQ(links[44].record, links[5].record);
  EXPECT_EQ(links[45].record, links[3].record);
  EXPECT_EQ(links[45].record, static_cast<void*>(&TALFENT));

  std::set<void*> records;
  std::map<RecordKind, int> kinds;
  std::set<std::string> objects;
  for (const SceneBinding& binding : scene_bindings()) {
    if (records.insert(binding.record).second) ++kinds[binding.kind];
    objects.insert(binding.object);
  }
  EXPECT_EQ(records.size(), 92u);
  EXPECT_EQ(kinds[RecordKind::linked_text], 48);
  EXPECT_EQ(kinds[RecordKind::display_switch], 28);
  EXPECT_EQ(kinds[RecordKind::colour_triple], 8);
  EXPECT_EQ(kinds[RecordKind::int32], 7);
  EXPECT_EQ(objects,
            (std::set<std::string>{"HOME", "FONDRES", "HOMBASE", "HOMURS", "DECBS1A", "DECBS2A"}));
}

TEST_F(StartupTest, StartValuesShowBrickWallOneWindowFirstSiteAndNothingElse) {
  set_initial_values();
  const std::set<std::string> shown{"TALBRIK", "TALFENT", "TALPACBA"};
  for (const SceneBinding& binding : scene_bindings()) {
    SCOPED_TRACE(binding.variable);
    switch (binding.kind) {
      case RecordKind::display_switch: {
        const auto* view = static_cast<const DisplaySwitch*>(binding.record);
        EXPECT_EQ(view->shown, shown.count(binding.variable) ? 1.0f : 0.0f);
        EXPECT_EQ(view->second, 1.0f);
        break;
      }
      case RecordKind::linked_text:
        EXPECT_EQ(static_cast<const LinkedText*>(binding.record)->length, 0);
        break;
      case RecordKind::int32:
        EXPECT_EQ(*static_cast<const std::int32_t*>(binding.record), 3);
        break;
      case RecordKind::colour_triple:
      case RecordKind::talnum_area:
        break;
    }
  }
  EXPECT_EQ(MURBORD, (ColourTriple{240, 89, 84}));
  EXPECT_EQ(MURFOND, (ColourTriple{201, 76, 71}));
  EXPECT_EQ(MURSOMBR, (ColourTriple{178, 66, 62}));
  for (const ColourTriple* surface : {&COLMUR, &COLPLAN, &COLPLAF, &COLFEN, &COLPORTE}) {
    EXPECT_EQ(*surface, (ColourTriple{0, 0, 0}));
  }
  EXPECT_EQ(TALNUM.words[0], 0);
  EXPECT_EQ(TALNUM.words[1], 0);
}

TEST_F(StartupTest, TextsWriteLengthCharactersAndZeroAndLeaveTheBytesBehind) {
  LinkedText field;
  std::memset(&field, 0xAA, sizeof field);
  write_label(field, "beton cellulaire");
  const auto* bytes = reinterpret_cast<const unsigned char*>(&field);
  EXPECT_EQ(bytes[0], 16);
  EXPECT_EQ(std::string(field.characters, 16), "beton cellulaire");
  EXPECT_EQ(bytes[17], 0);
  for (int i = 18; i < 80; ++i) EXPECT_EQ(bytes[i], 0xAA) << "byte " << i;

  // A shorter text leaves the end of the longer one behind its zero.
  write_number(field, -2.0, format_3_1f);
  EXPECT_EQ(bytes[0], 4);
  EXPECT_EQ(std::string(field.characters, 5), std::string("-2.0\0", 5));
  EXPECT_EQ(std::string(field.characters + 5, 12), std::string(" cellulaire\0", 12));
  EXPECT_EQ(bytes[18], 0xAA);
}

TEST_F(StartupTest, RepeatedNumbersAreWrittenAsIfFormattedAfresh) {
  const std::pair<double, PrintfFixed> writes[] = {
      {7772.04, format_3_1f}, {7772.04, format_3_0f}, {0.0, format_3_3f},
      {-0.0, format_3_3f},    {-0.0, format_3_3f},    {1e30, format_3_0f},
      {7772.04, format_3_1f}, {7772.04, format_3_1f},
  };
  for (const auto& [value, format] : writes) {
    for (LinkedText* field : {&G1, &D5}) {
      field->characters[0] = 'X';  // the scene may have written into the record
      write_number(*field, value, format);
      char expected[80];
      format_fixed(expected, sizeof expected, value, format);
      EXPECT_EQ(text(*field), expected);
      EXPECT_EQ(field->characters[field->length], '\0');
    }
  }
  EXPECT_EQ(text(G1), "7772.0");
}

}  // namespace
}  // namespace maison::testing
