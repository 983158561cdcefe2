#include "model/panel_output.h"

#include <algorithm>
#include <cstring>

#include "startup/linked_text.h"
#include "startup/scene_variables.h"

namespace maison {
namespace {

class SceneOutput final : public PanelOutput {
 public:
  void label(std::size_t row, std::string_view text) override { write_label(field(row), text); }
  void number(std::size_t row, double value, PrintfFixed format) override {
    write_number(field(row), value, format);
  }
  void show(SceneSwitch which, float first_word) override { record(which).shown = first_word; }

 private:
  static LinkedText& field(std::size_t row) {
    LinkedText* const fields[] = {&A1, &A2, &A3, &A4, &A5, &A6};
    return *fields[row - 1];
  }
  static DisplaySwitch& record(SceneSwitch which) {
    DisplaySwitch* const records[] = {&TALBRIK,  &TALROND,  &TALOBOIS, &TALFENT,
                                      &TALMRSOL, &TALFNSOL, &TALPACBA, &TALPACHO,
                                      &TALJURBA, &TALJURHO, &TALALPBA, &TALALPHO};
    return *records[static_cast<std::size_t>(which)];
  }
};

class NoOutput final : public PanelOutput {
 public:
  void label(std::size_t, std::string_view) override {}
  void number(std::size_t, double, PrintfFixed) override {}
  void show(SceneSwitch, float) override {}
};

SceneOutput scene;
NoOutput nowhere;

}  // namespace

PanelOutput& scene_output() {
  return scene;
}

PanelOutput& no_output() {
  return nowhere;
}

void RecordedTexts::label(std::size_t row, std::string_view text) {
  const std::size_t count = std::min(text.size(), capacity - 1);
  std::memcpy(texts_[row - 1], text.data(), count);
  texts_[row - 1][count] = '\0';
  lengths_[row - 1] = count;
}

void RecordedTexts::number(std::size_t row, double value, PrintfFixed format) {
  lengths_[row - 1] = format_fixed(texts_[row - 1], capacity, value, format);
}

}  // namespace maison
