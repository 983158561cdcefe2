// A second thread for large redraws: it paints one band of the picture
// while the calling thread paints the other. Started on first use, stopped
// with its owner; between redraws it sleeps on a condition variable.
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

  // Runs theirs(arg) on the helper thread and ours() on the calling one,
  // and returns when both have ended.
  template <class Theirs, class Ours>
  void together(Theirs& theirs, Ours&& ours) {
    start([](void* f) { (*static_cast<Theirs*>(f))(); }, &theirs);
    ours();
    finish();
  }

  // A machine with one core gains nothing from a second thread.
  static bool worthwhile();

 private:
  void start(void (*job)(void*), void* arg);
  void finish();
  void loop();

  std::thread thread_;
  std::mutex mutex_;
  std::condition_variable wake_;
  std::condition_variable done_;
  void (*job_)(void*) = nullptr;
  void* arg_ = nullptr;
  bool busy_ = false;
  bool stop_ = false;
};

}  // namespace kvr::render

#endif
