// The frame loop allocates nothing: every allocation during whole frames,
// through every panel, arrow and modal view, is counted.
#include <cstdlib>
#include <new>

#include "input/pointer.h"
#include "program_test.h"
#include "startup/frame_loop.h"

namespace {

bool counting = false;
int allocations = 0;

void* allocate(std::size_t size) {
  if (counting) ++allocations;
  if (void* memory = std::malloc(size == 0 ? 1 : size)) return memory;
  throw std::bad_alloc();
}

}  // namespace

void* operator new(std::size_t size) {
  return allocate(size);
}
void* operator new[](std::size_t size) {
  return allocate(size);
}
void operator delete(void* memory) noexcept {
  std::free(memory);
}
void operator delete[](void* memory) noexcept {
  std::free(memory);
}
void operator delete(void* memory, std::size_t) noexcept {
  std::free(memory);
}
void operator delete[](void* memory, std::size_t) noexcept {
  std::free(memory);
}

namespace maison::testing {
namespace {

using FrameAllocationTest = RunningProgramTest;

TEST_F(FrameAllocationTest, WholeFramesAllocateNothing) {
  kvr_double::set_recording(false);
  const int menu[][2] = {{231, 92}, {231, 57}, {231, 21}, {341, 92},
                         {341, 57}, {341, 21}, {451, 92}, {451, 21}};
  int frames = 0;
  for (const auto& button : menu) {
    kvr_double::queue_click(button[0], button[1]);
    ++frames;
    for (int row = 0; row < 6; ++row) {
      kvr_double::queue_click(775, 509 - 60 * row);
      kvr_double::queue_click(621, 509 - 60 * row);
      frames += 2;
    }
  }
  kvr_double::queue_click(670, 579);  // intro choice
  kvr_double::queue_click(200, 580);
  kvr_double::queue_pointer(680, 40, 1);  // results view: every view on
  for (int row = 0; row < 6; ++row) kvr_double::queue_pointer(587, 465 - 30 * row, 1);
  kvr_double::queue_pointer(0, 0, 2);
  frames += 4;

  counting = true;
  for (int i = 0; i < frames; ++i) run_frame();
  counting = false;
  EXPECT_EQ(allocations, 0);
  EXPECT_EQ(kvr_double::pending_pointer_states(), 0u);
}

}  // namespace
}  // namespace maison::testing
