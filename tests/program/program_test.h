// Shared helpers of the program's unit tests: a fresh process state for
// every test, and whole frames driven through the runtime test double.
#ifndef MAISON_TESTS_PROGRAM_TEST_H
#define MAISON_TESTS_PROGRAM_TEST_H

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fresh_process.h"
#include "input/panels.h"
#include "kvr_test_double.h"
#include "startup/linked_records.h"

namespace maison::testing {

using Texts = std::vector<std::string>;

// As after start-up: bindings made, start values set, running until quit.
void start_running();

// Characters 1 to N of a text.
std::string text(const LinkedText& field);
Texts texts(std::initializer_list<const LinkedText*> fields);

// Each runs whole frames: a click at (x, y); a menu button; an arrow of
// stepper row 1 to 6, `times` times.
void click_frame(int x, int y);
void open_panel(Panel panel);
void click_arrow(int row, bool plus, int times = 1);

class ProgramTest : public ::testing::Test {
 protected:
  void SetUp() override {
    kvr_double::reset();
    start_afresh();
  }
  void TearDown() override { kvr_double::reset(); }
};

// A program that has gone through start-up.
class RunningProgramTest : public ProgramTest {
 protected:
  void SetUp() override {
    ProgramTest::SetUp();
    start_running();
  }
};

}  // namespace maison::testing

#endif
