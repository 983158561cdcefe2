#include "paint_helper.h"

namespace kvr::render {

PaintHelper::~PaintHelper() {
  if (!thread_.joinable()) return;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    stop_ = true;
  }
  wake_.notify_one();
  thread_.join();
}

bool PaintHelper::worthwhile() {
  return std::thread::hardware_concurrency() >= 2;
}

void PaintHelper::start(void (*job)(void*), void* arg) {
  if (!thread_.joinable()) thread_ = std::thread([this] { loop(); });
  {
    std::lock_guard<std::mutex> lock(mutex_);
    job_ = job;
    arg_ = arg;
    busy_ = true;
  }
  wake_.notify_one();
}

void PaintHelper::finish() {
  std::unique_lock<std::mutex> lock(mutex_);
  done_.wait(lock, [this] { return !busy_; });
}

void PaintHelper::loop() {
  std::unique_lock<std::mutex> lock(mutex_);
  for (;;) {
    wake_.wait(lock, [this] { return busy_ || stop_; });
    if (stop_) return;
    void (*job)(void*) = job_;
    void* arg = arg_;
    lock.unlock();
    job(arg);
    lock.lock();
    busy_ = false;
    done_.notify_one();
  }
}

}  // namespace kvr::render
