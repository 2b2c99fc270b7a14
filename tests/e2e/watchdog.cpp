#include "e2e/watchdog.h"

#include <cstdio>
#include <cstdlib>

namespace qelvo::e2e {

namespace {
constexpr std::chrono::milliseconds kLookEvery{100};
}

Watchdog::Watchdog(std::chrono::milliseconds bound) : bound_(bound), thread_([this] { Watch(); }) {}

Watchdog::~Watchdog() {
  {
    std::lock_guard lock(mutex_);
    stop_ = true;
  }
  wake_.notify_all();
  thread_.join();
}

void Watchdog::Begin(std::string what, std::chrono::milliseconds extra) {
  std::lock_guard lock(mutex_);
  what_ = std::move(what);
  deadline_ = Clock::now() + bound_ + extra;
}

void Watchdog::End() {
  std::lock_guard lock(mutex_);
  deadline_.reset();
}

void Watchdog::Watch() {
  std::unique_lock lock(mutex_);
  while (!wake_.wait_for(lock, kLookEvery, [this] { return stop_; })) {
    if (deadline_ && Clock::now() > *deadline_) {
      std::fprintf(stderr, "watchdog: \"%s\" has not returned within %lld ms; aborting\n",
                   what_.c_str(), static_cast<long long>(bound_.count()));
      std::fflush(stderr);
      std::abort();
    }
  }
}

}  // namespace qelvo::e2e
