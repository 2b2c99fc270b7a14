#include "cli/stop_signals.h"

#include <time.h>

namespace qelvo::cli {
namespace {

// How often the watcher looks whether it is to finish; its destructor waits at most this.
constexpr long kWatchSliceNs = 50'000'000;

sigset_t StopSignals() {
  sigset_t set;
  sigemptyset(&set);
  sigaddset(&set, SIGINT);
  sigaddset(&set, SIGTERM);
  return set;
}

}  // namespace

BlockedStopSignals::BlockedStopSignals() : set_(StopSignals()) {
  pthread_sigmask(SIG_BLOCK, &set_, &previous_);
}

BlockedStopSignals::~BlockedStopSignals() {
  pthread_sigmask(SIG_SETMASK, &previous_, nullptr);
}

void BlockedStopSignals::Wait(int seconds) const {
  if (seconds > 0) {
    const timespec limit{seconds, 0};
    sigtimedwait(&set_, nullptr, &limit);
  } else {
    int signal = 0;
    sigwait(&set_, &signal);
  }
}

StopSignalWatcher::StopSignalWatcher(std::function<void()> onStop)
    : onStop_(std::move(onStop)), set_(StopSignals()), thread_(&StopSignalWatcher::Run, this) {}

StopSignalWatcher::~StopSignalWatcher() {
  finishing_ = true;
  thread_.join();
}

void StopSignalWatcher::Run() {
  const timespec slice{0, kWatchSliceNs};
  while (!finishing_) {
    if (sigtimedwait(&set_, nullptr, &slice) < 0)
      continue;
    {
      std::lock_guard lock(mutex_);
      stopRequested_ = true;
    }
    wake_.notify_all();
    if (onStop_)
      onStop_();
    return;
  }
}

bool StopSignalWatcher::WaitUntil(std::chrono::steady_clock::time_point deadline) {
  std::unique_lock lock(mutex_);
  return wake_.wait_until(lock, deadline, [this] { return stopRequested_; });
}

bool StopSignalWatcher::StopRequested() const {
  std::lock_guard lock(mutex_);
  return stopRequested_;
}

IgnoredBrokenPipe::IgnoredBrokenPipe() {
  struct sigaction ignore {};
  ignore.sa_handler = SIG_IGN;
  sigemptyset(&ignore.sa_mask);
  sigaction(SIGPIPE, &ignore, &previous_);
}

IgnoredBrokenPipe::~IgnoredBrokenPipe() {
  sigaction(SIGPIPE, &previous_, nullptr);
}

}  // namespace qelvo::cli
