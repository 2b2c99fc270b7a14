#include "cli/stop_signals.h"

#include <time.h>

#include <algorithm>
#include <cerrno>

namespace qelvo::cli {

BlockedStopSignals::BlockedStopSignals() {
  sigemptyset(&set_);
  sigaddset(&set_, SIGINT);
  sigaddset(&set_, SIGTERM);
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

bool BlockedStopSignals::WaitUntil(std::chrono::steady_clock::time_point deadline) const {
  using std::chrono::nanoseconds;
  for (;;) {
    const auto left = std::max(
        nanoseconds::zero(),
        std::chrono::duration_cast<nanoseconds>(deadline - std::chrono::steady_clock::now()));
    const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(left);
    const timespec limit{static_cast<time_t>(seconds.count()),
                         static_cast<long>((left - seconds).count())};
    if (sigtimedwait(&set_, nullptr, &limit) >= 0)
      return true;
    // Another signal broke the wait off: wait for the rest of the time.
    if (errno != EINTR)
      return false;
  }
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
