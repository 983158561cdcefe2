// Recording: every pointer state KvMouse hands to the program, kept as
// runs like a pointer script and written as one, so that the headless
// backend replays the session poll for poll.
#ifndef KVR_CORE_POINTER_RECORDER_H
#define KVR_CORE_POINTER_RECORDER_H

#include <cstdint>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "pointer_script.h"

namespace kvr {

class PointerRecorder {
 public:
  // Starts recording into `path` (nothing is written yet).
  void start(std::string path);
  bool active() const { return !path_.empty(); }
  const std::string& path() const { return path_; }

  // A fact about the launch, written as "# KEY: VALUE" in the header; a key
  // noted again replaces its value.
  void note(const std::string& key, const std::string& value);

  // One poll: the state handed to the program.
  void add(std::int32_t x, std::int32_t y, std::int32_t buttons);

  const std::vector<PointerRun>& runs() const { return runs_; }

  // The whole recording as pointer script text. With `idle_after`, one more
  // state (the last position, no button) follows the recorded ones: a run
  // that the program ended by itself then replays without the script
  // running out in its last frame, which would make that frame's "HOME"
  // calls return 1 where the recorded run got 0.
  std::string text(bool idle_after) const;

  // Rewrites the file whole, atomically. False, with the message on
  // `errors`, when it cannot; the recording goes on.
  bool write(bool idle_after, std::ostream& errors) const;

 private:
  std::string path_;
  std::vector<std::pair<std::string, std::string>> facts_;
  std::vector<PointerRun> runs_;
};

// The command line of this process as a shell would show it ("maison
// 1000"), the program named without its folder; empty where the system
// does not tell.
std::string process_command_line();

}  // namespace kvr

#endif
