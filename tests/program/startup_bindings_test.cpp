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

std::string name(const kvr_double::Link& link) {
  return link.object + "." + link.variable;
}

TEST_F(StartupTest, BindsNinetyFiveVariablesInTableOrderOverNinetyTwoRecords) {
  bind_scene_variables();
  const auto& links = kvr_double::links();
  ASSERT_EQ(links.size(), 95u);
  EXPECT_EQ(name(links[0]), "HOME.TALBRIK");
  EXPECT_EQ(name(links[40]), "HOMBASE.TALTEMP");
  EXPECT_EQ(name(links[93]), "FONDRES.KLASS");
  EXPECT_EQ(name(links[94]), "DECBS2A.TALNUM");
  // Rows 44 to 46 reach the records of rows 5, 6 and 4 under a second object.
  EXPECT_EQ(name(links[43]), "HOMBASE.TALMRSOL");
  EXPECT_EQ(links[43].record, links[4].record);
  EXPECT_EQ(links[44].record, links[5].record);
  EXPECT_EQ(links[45].record, links[3].record);

  std::set<void*> records;
  std::map<RecordKind, int> kinds;
  for (const SceneBinding& binding : scene_bindings()) {
    if (records.insert(binding.record).second) ++kinds[binding.kind];
  }
  EXPECT_EQ(records.size(), 92u);
  EXPECT_EQ(kinds, (std::map<RecordKind, int>{{RecordKind::linked_text, 48},
                                              {RecordKind::display_switch, 28},
                                              {RecordKind::colour_triple, 8},
                                              {RecordKind::int32, 7},
                                              {RecordKind::talnum_area, 1}}));
}

TEST_F(StartupTest, StartValuesShowBrickWallOneWindowFirstSiteAndNothingElse) {
  set_initial_values();
  const std::set<std::string> shown{"TALBRIK", "TALFENT", "TALPACBA"};
  for (const SceneBinding& binding : scene_bindings()) {
    SCOPED_TRACE(binding.variable);
    if (binding.kind == RecordKind::display_switch) {
      const auto* view = static_cast<const DisplaySwitch*>(binding.record);
      EXPECT_EQ(view->shown, shown.count(binding.variable) ? 1.0f : 0.0f);
      EXPECT_EQ(view->second, 1.0f);
    } else if (binding.kind == RecordKind::linked_text) {
      EXPECT_EQ(static_cast<const LinkedText*>(binding.record)->length, 0);
    } else if (binding.kind == RecordKind::int32) {
      EXPECT_EQ(*static_cast<const std::int32_t*>(binding.record), 3);
    }
  }
  EXPECT_EQ(MURBORD, (ColourTriple{240, 89, 84}));
  EXPECT_EQ(MURFOND, (ColourTriple{201, 76, 71}));
  EXPECT_EQ(MURSOMBR, (ColourTriple{178, 66, 62}));
  EXPECT_EQ(COLMUR, (ColourTriple{0, 0, 0}));
}

TEST_F(StartupTest, TextsWriteLengthCharactersAndZeroAndLeaveTheBytesBehind) {
  LinkedText field;
  std::memset(&field, 0xAA, sizeof field);
  const auto* bytes = reinterpret_cast<const unsigned char*>(&field);
  write_label(field, "beton cellulaire");
  EXPECT_EQ(bytes[0], 16);
  EXPECT_EQ(std::string(field.characters, 17), std::string("beton cellulaire\0", 17));
  for (int i = 18; i < 80; ++i) EXPECT_EQ(bytes[i], 0xAA) << "byte " << i;
  write_number(field, -2.0, format_3_1f);  // shorter: the end of the label stays behind the zero
  EXPECT_EQ(std::string(field.characters, 17), std::string("-2.0\0 cellulaire\0", 17));
}

TEST_F(StartupTest, RepeatedNumbersAreWrittenAsIfFormattedAfresh) {
  const std::pair<double, PrintfFixed> writes[] = {{7772.04, format_3_1f}, {7772.04, format_3_0f},
                                                   {0.0, format_3_3f},     {-0.0, format_3_3f},
                                                   {1e30, format_3_0f},    {7772.04, format_3_1f}};
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
}

}  // namespace
}  // namespace maison::testing
