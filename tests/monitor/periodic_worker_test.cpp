#include "monitor/periodic_worker.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace qelvo::monitor {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

TEST(PeriodicWorkerTest, LongRunSkipsTheMissedTicksInsteadOfBunchingThem) {
  std::mutex mutex;
  std::vector<Clock::duration> starts;
  Clock::time_point started;
  PeriodicWorker worker(
      [&] {
        std::lock_guard lock(mutex);
        starts.push_back(Clock::now() - started);
        if (starts.size() == 1)
          std::this_thread::sleep_for(450ms);  // past ticks 2 and 3
      },
      200ms);

  started = Clock::now();
  worker.Start();
  std::this_thread::sleep_for(1100ms);
  worker.Stop();

  std::lock_guard lock(mutex);
  ASSERT_GE(starts.size(), 2u);
  EXPECT_GE(starts[0], 200ms);
  // The first run ends near 650 ms; ticks 2 and 3 are dropped and tick 4 comes at 800 ms.
  EXPECT_GE(starts[1], 790ms);
}

TEST(PeriodicWorkerTest, StopWakesAWaitingWorkerAndInterruptsARunningTask) {
  std::mutex mutex;
  std::vector<std::string> order;
  auto note = [&](std::string what) {
    std::lock_guard lock(mutex);
    order.push_back(std::move(what));
  };
  std::atomic<bool> interrupted = false;
  std::atomic<bool> running = false;
  PeriodicWorker worker(
      [&] {
        running = true;
        while (!interrupted)
          std::this_thread::sleep_for(1ms);  // a reply that never comes
        note("task returned");
      },
      10ms);

  worker.Start();
  while (!running)
    std::this_thread::sleep_for(1ms);
  worker.Stop(
      [&] {
        note("interrupt");
        interrupted = true;
      },
      [&] { note("resume"); });

  EXPECT_FALSE(worker.Running());
  EXPECT_EQ(order, (std::vector<std::string>{"interrupt", "task returned", "resume"}));

  // Waiting for a far tick: the stop does not wait for it.
  PeriodicWorker idle([] {}, 1h);
  idle.Start();
  const auto before = Clock::now();
  idle.Stop();
  EXPECT_LT(Clock::now() - before, 100ms);
}

}  // namespace
}  // namespace qelvo::monitor
