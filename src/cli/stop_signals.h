#pragma once

#include <signal.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

namespace qelvo::cli {

// Blocks SIGINT and SIGTERM while alive, so that they can be waited for instead of ending
// the program before its port, its simulated controller and its files are cleaned up.
// Made before any thread starts, so that every thread of the command inherits the block.
class BlockedStopSignals {
 public:
  BlockedStopSignals();
  ~BlockedStopSignals();
  BlockedStopSignals(const BlockedStopSignals&) = delete;
  BlockedStopSignals& operator=(const BlockedStopSignals&) = delete;

  // Waits for a stop signal, or for `seconds` when positive.
  void Wait(int seconds) const;

 private:
  sigset_t set_{};
  sigset_t previous_{};
};

// Takes the blocked stop signals on a thread of its own while alive, so that a command busy
// in a long exchange hears them at once: at the first one it calls `onStop` from that
// thread (to cancel the exchange) and wakes WaitUntil.
class StopSignalWatcher {
 public:
  explicit StopSignalWatcher(std::function<void()> onStop);
  ~StopSignalWatcher();
  StopSignalWatcher(const StopSignalWatcher&) = delete;
  StopSignalWatcher& operator=(const StopSignalWatcher&) = delete;

  // Waits until `deadline`; true when a stop signal came (also one that came before).
  bool WaitUntil(std::chrono::steady_clock::time_point deadline);
  bool StopRequested() const;

 private:
  void Run();

  std::function<void()> onStop_;
  sigset_t set_{};
  mutable std::mutex mutex_;
  std::condition_variable wake_;
  bool stopRequested_ = false;
  std::atomic<bool> finishing_{false};
  std::thread thread_;
};

// Ignores SIGPIPE while alive, so that output into a closed pipe (`qelvo monitor | head`)
// fails as a write instead of ending the program before its log is renamed into place.
class IgnoredBrokenPipe {
 public:
  IgnoredBrokenPipe();
  ~IgnoredBrokenPipe();
  IgnoredBrokenPipe(const IgnoredBrokenPipe&) = delete;
  IgnoredBrokenPipe& operator=(const IgnoredBrokenPipe&) = delete;

 private:
  struct sigaction previous_ {};
};

}  // namespace qelvo::cli
