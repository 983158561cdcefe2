// Where a catalogue block sends what it shows: the texts A1 to A6 of its
// panel and the scene switches it sets, in the order it produces them. The
// frame's blocks send them into the scene's records; the physics run on a
// copy of the house drops them, or keeps the last text of each row.
#ifndef MAISON_MODEL_PANEL_OUTPUT_H
#define MAISON_MODEL_PANEL_OUTPUT_H

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "startup/printf_fixed.h"

namespace maison {

// The scene switches the catalogues set (their first word).
enum class SceneSwitch : std::uint8_t {
  talbrik,
  talrond,
  talobois,
  talfent,
  talmrsol,
  talfnsol,
  talpacba,
  talpacho,
  taljurba,
  taljurho,
  talalpba,
  talalpho,
};

class PanelOutput {
 public:
  // Text field A<row>, row 1 to 6.
  virtual void label(std::size_t row, std::string_view text) = 0;
  virtual void number(std::size_t row, double value, PrintfFixed format) = 0;
  virtual void show(SceneSwitch which, float first_word) = 0;

 protected:
  PanelOutput() = default;
  PanelOutput(const PanelOutput&) = default;
  PanelOutput& operator=(const PanelOutput&) = default;
  ~PanelOutput() = default;
};

// Into the scene's records A1 to A6 and the switches: the frame's output.
PanelOutput& scene_output();

// Nowhere.
PanelOutput& no_output();

// The last text of each row, formatted as the scene's records would hold it.
class RecordedTexts final : public PanelOutput {
 public:
  static constexpr std::size_t rows = 6;
  static constexpr std::size_t capacity = 24;

  void label(std::size_t row, std::string_view text) override;
  void number(std::size_t row, double value, PrintfFixed format) override;
  void show(SceneSwitch, float) override {}

  // Row 1 to 6; empty while the block wrote nothing into it.
  std::string_view text(std::size_t row) const { return {texts_[row - 1], lengths_[row - 1]}; }

 private:
  char texts_[rows][capacity] = {};
  std::size_t lengths_[rows] = {};
};

}  // namespace maison

#endif
