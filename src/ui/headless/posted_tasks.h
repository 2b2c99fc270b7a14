#pragma once

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <deque>
#include <functional>
#include <mutex>

namespace qelvo::ui {

// Tasks handed to the user-interface thread: queued from any thread, run when the test says.
class PostedTasks {
 public:
  void Post(std::function<void()> task);

  // Runs the tasks queued at the moment of the call, in order; tasks they post wait for the
  // next call. Returns how many ran.
  std::size_t RunQueued();
  // Waits until at least `count` tasks are queued; false when the timeout came first.
  bool WaitFor(std::chrono::milliseconds timeout, std::size_t count);
  // Runs tasks as they arrive until `condition` holds or the timeout passes; returns
  // `condition`'s last value.
  bool RunUntil(const std::function<bool()>& condition, std::chrono::milliseconds timeout);
  std::size_t Pending() const;

 private:
  mutable std::mutex mutex_;
  std::condition_variable arrived_;
  std::deque<std::function<void()>> queue_;
};

}  // namespace qelvo::ui
