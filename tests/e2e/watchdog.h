#pragma once

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <utility>

namespace qelvo::e2e {

// Aborts the process with a message when an operation has not returned in time: a program
// that hangs must fail the run, not stall it until the harness kills it without a word.
class Watchdog {
 public:
  explicit Watchdog(std::chrono::milliseconds bound);
  ~Watchdog();
  Watchdog(const Watchdog&) = delete;
  Watchdog& operator=(const Watchdog&) = delete;

  // The operation starting now must return within the bound plus `extra` (time it spends
  // waiting on purpose).
  void Begin(std::string what, std::chrono::milliseconds extra = {});
  void End();

  std::chrono::milliseconds bound() const { return bound_; }

 private:
  using Clock = std::chrono::steady_clock;
  void Watch();

  const std::chrono::milliseconds bound_;
  std::mutex mutex_;
  std::condition_variable wake_;
  bool stop_ = false;
  std::optional<Clock::time_point> deadline_;
  std::string what_;
  std::thread thread_;  // last: it starts once the rest is ready
};

// Watches one operation for the length of a scope.
class Watched {
 public:
  Watched(Watchdog& dog, std::string what, std::chrono::milliseconds extra = {}) : dog_(dog) {
    dog_.Begin(std::move(what), extra);
  }
  ~Watched() { dog_.End(); }
  Watched(const Watched&) = delete;
  Watched& operator=(const Watched&) = delete;

 private:
  Watchdog& dog_;
};

}  // namespace qelvo::e2e
