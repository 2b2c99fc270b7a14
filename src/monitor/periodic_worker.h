#pragma once

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

namespace qelvo::monitor {

// A thread that runs a task on the absolute schedule of NextTickIndex, the first run one
// period after Start. Owned and driven by one thread (the user-interface thread).
class PeriodicWorker {
 public:
  // `task` runs on the worker thread; it may ask StopRequested() to drop its result.
  explicit PeriodicWorker(std::function<void()> task, std::chrono::steady_clock::duration period);
  ~PeriodicWorker();
  PeriodicWorker(const PeriodicWorker&) = delete;
  PeriodicWorker& operator=(const PeriodicWorker&) = delete;

  void Start();
  // Wakes the waiting worker, calls `interrupt` so that a running task returns at once,
  // joins the worker and then calls `resume`. Nothing of the task runs after Stop returns.
  void Stop(const std::function<void()>& interrupt = {}, const std::function<void()>& resume = {});

  bool Running() const { return worker_.joinable(); }
  // True from the moment Stop was called; safe from the worker thread.
  bool StopRequested() const;

 private:
  void Run(std::chrono::steady_clock::time_point start);

  std::function<void()> task_;
  std::chrono::steady_clock::duration period_;
  mutable std::mutex mutex_;
  std::condition_variable wake_;
  bool stopRequested_ = false;
  std::thread worker_;
};

}  // namespace qelvo::monitor
