// Program records for drawing HOME.SP1 without the program: one record per
// declared variable, filled like the start-up house after its first frame.
// Used by the preview tool, the renderer's tests and the benchmarks.
#ifndef KVR_RENDER_TOOLS_SAMPLE_RECORDS_H
#define KVR_RENDER_TOOLS_SAMPLE_RECORDS_H

#include <array>
#include <cstdint>
#include <cstring>
#include <deque>
#include <string>
#include <string_view>
#include <vector>

#include "scene.h"

namespace kvr::sample {

class Records {
 public:
  explicit Records(const Scene& scene) : scene_(scene) {
    pointers_.assign(scene.variables.size(), nullptr);
    mutable_.assign(scene.variables.size(), nullptr);
    for (std::size_t i = 0; i < scene.variables.size(); ++i) {
      const SceneVariable& v = scene.variables[i];
      // The program binds its window count and crawl-space switches under
      // two objects; both names then read one record.
      int twin = -1;
      if (v.object == "HOMBASE") twin = scene.find_variable("HOME", v.name);
      if (twin >= 0 && static_cast<std::size_t>(twin) < i) {
        mutable_[i] = mutable_[static_cast<std::size_t>(twin)];
      } else {
        storage_.emplace_back();
        storage_.back().fill(0);
        mutable_[i] = storage_.back().data();
      }
      pointers_[i] = mutable_[i];
    }
  }

  const std::vector<const void*>& pointers() const { return pointers_; }

  unsigned char* bytes(std::string_view qualified) {
    int i = scene_.find_variable(qualified);
    if (i < 0) return nullptr;
    return mutable_[static_cast<std::size_t>(i)];
  }

  void text(std::string_view qualified, std::string_view value) {
    if (unsigned char* b = bytes(qualified)) {
      std::size_t n = value.size() > 78 ? 78 : value.size();
      b[0] = static_cast<unsigned char>(n);
      std::memcpy(b + 1, value.data(), n);
      b[n + 1] = 0;
    }
  }
  void show(std::string_view qualified, float value) {
    if (unsigned char* b = bytes(qualified)) {
      float pair[2] = {value, 1.0f};
      std::memcpy(b, pair, sizeof pair);
    }
  }
  void colour(std::string_view qualified, int r, int g, int b) {
    if (unsigned char* bytes_ = bytes(qualified)) {
      std::int16_t rgb[3] = {static_cast<std::int16_t>(r), static_cast<std::int16_t>(g),
                             static_cast<std::int16_t>(b)};
      std::memcpy(bytes_, rgb, sizeof rgb);
    }
  }
  void integer(std::string_view qualified, std::int32_t value) {
    if (unsigned char* b = bytes(qualified)) std::memcpy(b, &value, sizeof value);
  }

  // The start-up house as the first frame leaves it: brick walls, one
  // window, open crawl space, first site, every result written.
  void startup_house() {
    for (const SceneVariable& v : scene_.variables)
      if (v.kind == RecordKind::Switch) show(v.qualified, 0.0f);
    show("HOME.TALBRIK", 1.0f);
    show("HOME.TALFENT", 1.0f);
    show("HOME.TALPACBA", 1.0f);
    show("HOME.TLTOISOL", 1.0f);
    for (int i = 0; i <= 6; ++i) integer("DECBS1A.colvis" + std::to_string(i), 3);
    colour("HOMURS.MURBORD", 240, 89, 84);
    colour("HOMURS.MURFOND", 201, 76, 71);
    colour("HOMURS.MURSOMBR", 178, 66, 62);
    colour("HOME.COLMUR", 172, 0, 78);
    colour("HOME.COLPLAN", 100, 0, 150);
    colour("HOME.COLPLAF", 120, 0, 130);
    colour("HOME.COLFEN", 200, 0, 50);
    colour("HOME.COLPORTE", 127, 0, 122);
    text("HOME.TEMPEXT", "-2.0");
    text("HOME.TEMPCINQ", "3.0");
    text("HOME.TEMPDIX", "8.0");
    const char* results[][2] = {
        {"B1", "3.64"},  {"B2", "5.05"},  {"B3", "2.70"}, {"B4", "3.56"},  {"B5", "4.16"},
        {"C1", "306.9"}, {"C2", "48.5"},  {"C3", "5.4"},  {"C4", "231.6"}, {"C5", "353.3"},
        {"C6", "81.6"},  {"C7", "1027"},  {"D1", "6752"}, {"D2", "1067"},  {"D3", "119"},
        {"D4", "5096"},  {"D5", "7772"},  {"D6", "1795"}, {"D7", "22601"}, {"E1", "29.9"},
        {"E2", "4.7"},   {"E3", "0.5"},   {"E4", "22.5"}, {"E5", "34.4"},  {"E6", "7.9"},
        {"F1", "1.4"},   {"F2", "2.8"},   {"F3", "0.6"},  {"F4", "0.0"},   {"F5", "0.4"},
        {"F6", " -2"},   {"G1", "41914"}, {"KLASS", "F"},
    };
    for (const auto& r : results) text(std::string("FONDRES.") + r[0], r[1]);
  }

  // Opens a panel the way the program does: its switch shown, the six
  // fields filled with the panel's start texts.
  void open_panel(std::string_view panel_switch, const std::vector<std::string>& fields) {
    for (const char* p :
         {"TALMUR", "TALPLAN", "TALPLAF", "TALSSOL", "TALFEN", "TALVMC", "TALTEMP", "TALLOC"})
      show(std::string("HOMBASE.") + p, 0.0f);
    show(std::string("HOMBASE.") + std::string(panel_switch), 1.0f);
    for (int i = 0; i < 6; ++i)
      text("HOME.A" + std::to_string(i + 1),
           static_cast<std::size_t>(i) < fields.size() ? fields[static_cast<std::size_t>(i)] : " ");
  }

 private:
  const Scene& scene_;
  std::deque<std::array<unsigned char, 80>> storage_;
  std::vector<unsigned char*> mutable_;
  std::vector<const void*> pointers_;
};

}  // namespace kvr::sample

#endif
