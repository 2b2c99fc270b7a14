#include "ui/headless/posted_tasks.h"

#include <utility>

namespace qelvo::ui {

void PostedTasks::Post(std::function<void()> task) {
  if (!task)
    return;
  {
    std::lock_guard lock(mutex_);
    queue_.push_back(std::move(task));
  }
  arrived_.notify_all();
}

std::size_t PostedTasks::RunQueued() {
  std::deque<std::function<void()>> batch;
  {
    std::lock_guard lock(mutex_);
    batch.swap(queue_);
  }
  // Run outside the lock: a task may post again, from this thread or through a worker.
  for (auto& task : batch)
    task();
  return batch.size();
}

bool PostedTasks::WaitFor(std::chrono::milliseconds timeout, std::size_t count) {
  std::unique_lock lock(mutex_);
  return arrived_.wait_for(lock, timeout, [&] { return queue_.size() >= count; });
}

bool PostedTasks::RunUntil(const std::function<bool()>& condition,
                           std::chrono::milliseconds timeout) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  while (!condition()) {
    {
      std::unique_lock lock(mutex_);
      if (!arrived_.wait_until(lock, deadline, [&] { return !queue_.empty(); }))
        return condition();
    }
    RunQueued();
  }
  return true;
}

std::size_t PostedTasks::Pending() const {
  std::lock_guard lock(mutex_);
  return queue_.size();
}

}  // namespace qelvo::ui
