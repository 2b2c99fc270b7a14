#include "monitor/periodic_worker.h"

#include "monitor/tick_schedule.h"

namespace qelvo::monitor {

PeriodicWorker::PeriodicWorker(std::function<void()> task,
                               std::chrono::steady_clock::duration period)
    : task_(std::move(task)), period_(period) {}

PeriodicWorker::~PeriodicWorker() {
  Stop();
}

void PeriodicWorker::Start() {
  if (Running())
    return;
  {
    std::lock_guard lock(mutex_);
    stopRequested_ = false;
  }
  worker_ = std::thread(&PeriodicWorker::Run, this, std::chrono::steady_clock::now());
}

void PeriodicWorker::Stop(const std::function<void()>& interrupt,
                          const std::function<void()>& resume) {
  if (!Running())
    return;
  {
    std::lock_guard lock(mutex_);
    stopRequested_ = true;
  }
  wake_.notify_all();
  if (interrupt)
    interrupt();
  worker_.join();
  if (resume)
    resume();
}

bool PeriodicWorker::StopRequested() const {
  std::lock_guard lock(mutex_);
  return stopRequested_;
}

void PeriodicWorker::Run(std::chrono::steady_clock::time_point start) {
  std::int64_t index = 1;
  for (;;) {
    {
      std::unique_lock lock(mutex_);
      if (wake_.wait_until(lock, start + index * period_, [this] { return stopRequested_; }))
        return;
    }
    task_();
    index = NextTickIndex(index, std::chrono::steady_clock::now() - start, period_);
  }
}

}  // namespace qelvo::monitor
