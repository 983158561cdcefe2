// A second thread for large redraws: it paints one band of the picture
// while the calling thread paints the other. Started on first use, stopped
// with its owner; between redraws it sleeps on a condition variable.
// Theirs runs exactly once, on the helper or, when the helper is late, on
// the calling thread.
#ifndef KVR_RENDER_PAINT_HELPER_H
#define KVR_RENDER_PAINT_HELPER_H

#include <condition_variable>
#include <mutex>
#include <thread>

namespace kvr::render {

class PaintHelper {
 public:
  PaintHelper() = default;
  ~PaintHelper();
  PaintHelper(const PaintHelper&) = delete;
  PaintHelper& operator=(const PaintHelper&) = delete;

  // Runs theirs() on the helper thread and ours() on the calling one, and
  // returns when both have ended. When the helper has not begun theirs by
  // the time ours ended (its core busy elsewhere, or slow to wake), the
  // calling thread takes theirs back and runs it itself: a late helper
  // costs no more than one thread doing both. True when the helper ran it.
  template <class Theirs, class Ours>
  bool together(Theirs& theirs, Ours&& ours) {
    start([](void* f) { (*static_cast<Theirs*>(f))(); }, &theirs);
    ours();
    if (withdraw()) {
      theirs();
      return false;
    }
    finish();
    return true;
  }

  // A process that may run on one core only gains nothing from a second
  // thread.
  static bool worthwhile();

 private:
  void start(void (*job)(void*), void* arg);
  bool withdraw();  // takes back a job the helper has not begun
  void finish();
  void loop();
  void keep_off(int cpu);

  std::thread thread_;
  std::mutex mutex_;
  std::condition_variable wake_;
  std::condition_variable done_;
  void (*job_)(void*) = nullptr;
  void* arg_ = nullptr;
  bool busy_ = false;   // a job is posted and not ended
  bool begun_ = false;  // the helper has begun it
  bool stop_ = false;
  int kept_off_ = -1;  // the core the helper may not run on
};

}  // namespace kvr::render

#endif
