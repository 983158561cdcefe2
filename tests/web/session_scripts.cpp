// Writes the seeded random sessions of the frame property test
// (tests/fuzz/frame_property_test.cpp: the same seeds, bytes and decoder) as
// pointer scripts that the maison executable plays, so that two builds of
// it can be run on them and their traces compared:
//   web_session_scripts FIRST_SEED LAST_SEED FOLDER
// makes FOLDER/seed-N/script.txt, FOLDER/seed-N/code (the launch code) and
// FOLDER/seed-N/trace_states ("changes" or "full").
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "pointer_states.h"

namespace {

constexpr std::size_t longest_session = 600;

std::vector<std::uint8_t> random_bytes(std::uint64_t seed) {
  std::mt19937_64 random(seed);
  std::vector<std::uint8_t> bytes(random() % (longest_session + 1));
  for (std::uint8_t& b : bytes) b = static_cast<std::uint8_t>(random());
  return bytes;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: web_session_scripts FIRST_SEED LAST_SEED FOLDER\n");
    return 2;
  }
  const std::uint64_t first = std::strtoull(argv[1], nullptr, 10);
  const std::uint64_t last = std::strtoull(argv[2], nullptr, 10);
  namespace fs = std::filesystem;
  for (std::uint64_t seed = first; seed <= last; ++seed) {
    const maison::fuzzing::SessionInput session =
        maison::fuzzing::decode_session(random_bytes(seed));
    const fs::path dir = fs::path(argv[3]) / ("seed-" + std::to_string(seed));
    fs::create_directories(dir);
    std::ofstream script(dir / "script.txt", std::ios::binary);
    script << "# seed " << seed << "\n";
    for (const kvr::PointerRun& run : session.states) {
      script << run.x << ' ' << run.y << ' ' << run.buttons;
      if (run.count != 1) script << " *" << run.count;
      script << '\n';
    }
    std::ofstream(dir / "code") << session.launch_code << '\n';
    std::ofstream(dir / "trace_states")
        << (session.trace == maison::fuzzing::SessionInput::Trace::full ? "full" : "changes")
        << '\n';
  }
  return 0;
}
