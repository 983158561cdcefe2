#include "startup/scene_bindings.h"

#include <cstdint>
#include <iterator>

#include "kvrrun.h"
#include "startup/scene_variables.h"

namespace maison {
namespace {

constexpr RecordKind text = RecordKind::linked_text;
constexpr RecordKind display = RecordKind::display_switch;
constexpr RecordKind colour = RecordKind::colour_triple;
constexpr RecordKind int32 = RecordKind::int32;

// TALFENT, TALMRSOL and TALFNSOL are bound twice, under "HOME" and
// "HOMBASE": both names reach the same record.
constexpr SceneBinding bindings[] = {
    // object, variable, record, kind
    {"HOME", "TALBRIK", &TALBRIK, display},
    {"HOME", "TALROND", &TALROND, display},
    {"HOME", "TALOBOIS", &TALOBOIS, display},
    {"HOME", "TALFENT", &TALFENT, display},
    {"HOME", "TALMRSOL", &TALMRSOL, display},
    {"HOME", "TALFNSOL", &TALFNSOL, display},
    {"HOME", "TEMPEXT", &TEMPEXT, text},
    {"HOME", "TEMPCINQ", &TEMPCINQ, text},
    {"HOME", "TEMPDIX", &TEMPDIX, text},
    {"HOME", "TALPACBA", &TALPACBA, display},
    {"HOME", "TALPACHO", &TALPACHO, display},
    {"HOME", "TALJURBA", &TALJURBA, display},
    {"HOME", "TALJURHO", &TALJURHO, display},
    {"HOME", "TALALPBA", &TALALPBA, display},
    {"HOME", "TALALPHO", &TALALPHO, display},
    {"HOME", "TALREST", &TALREST, display},
    {"FONDRES", "TALTAB", &TALTAB, display},
    {"FONDRES", "TALRESK", &TALRESK, display},
    {"FONDRES", "TALRESD", &TALRESD, display},
    {"FONDRES", "TALRESW", &TALRESW, display},
    {"FONDRES", "TALRESAN", &TALRESAN, display},
    {"HOME", "TALCAM", &TALCAM, display},
    {"HOME", "COLMUR", &COLMUR, colour},
    {"HOME", "COLPLAN", &COLPLAN, colour},
    {"HOME", "COLPLAF", &COLPLAF, colour},
    {"HOME", "COLFEN", &COLFEN, colour},
    {"HOME", "COLPORTE", &COLPORTE, colour},
    {"HOME", "TLTOISOL", &TLTOISOL, display},
    {"DECBS1A", "colvis0", &colvis0, int32},
    {"DECBS1A", "colvis1", &colvis1, int32},
    {"DECBS1A", "colvis2", &colvis2, int32},
    {"DECBS1A", "colvis3", &colvis3, int32},
    {"DECBS1A", "colvis4", &colvis4, int32},
    {"DECBS1A", "colvis5", &colvis5, int32},
    {"DECBS1A", "colvis6", &colvis6, int32},
    {"HOMBASE", "TALMUR", &TALMUR, display},
    {"HOMBASE", "TALPLAN", &TALPLAN, display},
    {"HOMBASE", "TALPLAF", &TALPLAF, display},
    {"HOMBASE", "TALSSOL", &TALSSOL, display},
    {"HOMBASE", "TALFEN", &TALFEN, display},
    {"HOMBASE", "TALTEMP", &TALTEMP, display},
    {"HOMBASE", "TALVMC", &TALVMC, display},
    {"HOMBASE", "TALLOC", &TALLOC, display},
    {"HOMBASE", "TALMRSOL", &TALMRSOL, display},
    {"HOMBASE", "TALFNSOL", &TALFNSOL, display},
    {"HOMBASE", "TALFENT", &TALFENT, display},
    {"HOMURS", "MURBORD", &MURBORD, colour},
    {"HOMURS", "MURFOND", &MURFOND, colour},
    {"HOMURS", "MURSOMBR", &MURSOMBR, colour},
    {"HOME", "A1", &A1, text},
    {"HOME", "A2", &A2, text},
    {"HOME", "A3", &A3, text},
    {"HOME", "A4", &A4, text},
    {"HOME", "A5", &A5, text},
    {"HOME", "A6", &A6, text},
    {"FONDRES", "A7", &A7, text},
    {"FONDRES", "A8", &A8, text},
    {"FONDRES", "A9", &A9, text},
    {"FONDRES", "A10", &A10, text},
    {"FONDRES", "A11", &A11, text},
    {"FONDRES", "B1", &B1, text},
    {"FONDRES", "B2", &B2, text},
    {"FONDRES", "B3", &B3, text},
    {"FONDRES", "B4", &B4, text},
    {"FONDRES", "B5", &B5, text},
    {"FONDRES", "B6", &B6, text},
    {"FONDRES", "C1", &C1, text},
    {"FONDRES", "C2", &C2, text},
    {"FONDRES", "C3", &C3, text},
    {"FONDRES", "C4", &C4, text},
    {"FONDRES", "C5", &C5, text},
    {"FONDRES", "C6", &C6, text},
    {"FONDRES", "C7", &C7, text},
    {"FONDRES", "D1", &D1, text},
    {"FONDRES", "D2", &D2, text},
    {"FONDRES", "D3", &D3, text},
    {"FONDRES", "D4", &D4, text},
    {"FONDRES", "D5", &D5, text},
    {"FONDRES", "D6", &D6, text},
    {"FONDRES", "D7", &D7, text},
    {"FONDRES", "E1", &E1, text},
    {"FONDRES", "E2", &E2, text},
    {"FONDRES", "E3", &E3, text},
    {"FONDRES", "E4", &E4, text},
    {"FONDRES", "E5", &E5, text},
    {"FONDRES", "E6", &E6, text},
    {"FONDRES", "F1", &F1, text},
    {"FONDRES", "F2", &F2, text},
    {"FONDRES", "F3", &F3, text},
    {"FONDRES", "F4", &F4, text},
    {"FONDRES", "F5", &F5, text},
    {"FONDRES", "F6", &F6, text},
    {"FONDRES", "G1", &G1, text},
    {"FONDRES", "KLASS", &KLASS, text},
    {"DECBS2A", "TALNUM", &TALNUM, RecordKind::talnum_area},
};

static_assert(std::size(bindings) == 95);

}  // namespace

std::span<const SceneBinding> scene_bindings() {
  return bindings;
}

std::size_t record_size(RecordKind kind) {
  switch (kind) {
    case RecordKind::linked_text:
      return sizeof(LinkedText);
    case RecordKind::display_switch:
      return sizeof(DisplaySwitch);
    case RecordKind::colour_triple:
      return sizeof(ColourTriple);
    case RecordKind::int32:
      return sizeof(std::int32_t);
    case RecordKind::talnum_area:
      return sizeof(TalnumArea);
  }
  return 0;
}

void bind_scene_variables() {
  for (const SceneBinding& binding : bindings) {
    KvLink(binding.object, binding.variable, binding.record);
  }
}

}  // namespace maison
