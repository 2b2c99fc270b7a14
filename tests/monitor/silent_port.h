#pragma once

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "link/byte_stream.h"

namespace qelvo::monitor::testing {

// A port whose controller never answers, with the real port's waits: a read gives up after
// 145 ms, a pause takes its time, and Cancel ends either at once.
class SilentPort final : public link::ByteStream {
 public:
  int Read(std::span<std::uint8_t>) override { return Wait(kReadWait) ? 0 : -1; }
  bool Write(std::span<const std::uint8_t>) override {
    std::lock_guard lock(mutex_);
    ++writes_;
    return !cancelled_;
  }
  bool Purge() override { return true; }
  bool Pause(std::chrono::milliseconds duration) override { return Wait(duration); }
  void Cancel() override {
    {
      std::lock_guard lock(mutex_);
      cancelled_ = true;
    }
    wake_.notify_all();
  }
  void Resume() override {
    std::lock_guard lock(mutex_);
    cancelled_ = false;
  }

  int Writes() const {
    std::lock_guard lock(mutex_);
    return writes_;
  }
  bool Cancelled() const {
    std::lock_guard lock(mutex_);
    return cancelled_;
  }
  // Blocks until a request has been written, that is, a tick is waiting for its reply.
  bool WaitForWrite(std::chrono::milliseconds timeout) {
    const auto until = std::chrono::steady_clock::now() + timeout;
    while (Writes() == 0) {
      if (std::chrono::steady_clock::now() > until)
        return false;
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
  }

 private:
  static constexpr std::chrono::milliseconds kReadWait{145};

  // False when cancelled.
  bool Wait(std::chrono::milliseconds duration) {
    std::unique_lock lock(mutex_);
    wake_.wait_for(lock, duration, [this] { return cancelled_; });
    return !cancelled_;
  }

  mutable std::mutex mutex_;
  std::condition_variable wake_;
  bool cancelled_ = false;
  int writes_ = 0;
};

}  // namespace qelvo::monitor::testing
