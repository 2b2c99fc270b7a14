#pragma once

#include <signal.h>

#include <chrono>

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
  // Waits for a stop signal until `deadline`; true when one came (or was already pending).
  bool WaitUntil(std::chrono::steady_clock::time_point deadline) const;

 private:
  sigset_t set_{};
  sigset_t previous_{};
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
