#include "paint_helper.h"

#include <pthread.h>
#include <sched.h>

#include <cstddef>

namespace kvr::render {

namespace {

// The cores this process may run on (taskset, a container's share), not
// those the machine has.
bool allowed_cores(cpu_set_t& allowed) {
  CPU_ZERO(&allowed);
  return sched_getaffinity(0, sizeof allowed, &allowed) == 0;
}

}  // namespace

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
  cpu_set_t allowed;
  if (allowed_cores(allowed)) return CPU_COUNT(&allowed) >= 2;
  return std::thread::hardware_concurrency() >= 2;
}

void PaintHelper::start(void (*job)(void*), void* arg) {
  if (!thread_.joinable()) thread_ = std::thread([this] { loop(); });
  keep_off(sched_getcpu());
  {
    std::lock_guard<std::mutex> lock(mutex_);
    job_ = job;
    arg_ = arg;
    busy_ = true;
    begun_ = false;
  }
  wake_.notify_one();
}

// Woken by the calling thread, the helper would be queued on that thread's
// own core (the scheduler's guess that it shares its data), and the two
// bands would take turns there while the other core stays idle. It runs
// anywhere else it may.
void PaintHelper::keep_off(int cpu) {
  if (cpu < 0 || cpu == kept_off_) return;
  cpu_set_t allowed;
  if (!allowed_cores(allowed)) return;
  auto core = static_cast<std::size_t>(cpu);
  if (CPU_ISSET(core, &allowed) && CPU_COUNT(&allowed) >= 2) CPU_CLR(core, &allowed);
  if (pthread_setaffinity_np(thread_.native_handle(), sizeof allowed, &allowed) == 0)
    kept_off_ = cpu;
}

bool PaintHelper::withdraw() {
  std::lock_guard<std::mutex> lock(mutex_);
  if (!busy_ || begun_) return false;
  busy_ = false;
  job_ = nullptr;
  arg_ = nullptr;
  return true;
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
    begun_ = true;
    void (*job)(void*) = job_;
    void* arg = arg_;
    lock.unlock();
    job(arg);
    lock.lock();
    busy_ = false;
    begun_ = false;
    done_.notify_one();
  }
}

}  // namespace kvr::render
