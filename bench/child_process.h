#pragma once

#include <sys/types.h>

#include <chrono>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "link/unique_fd.h"

namespace qelvo::bench {

// A program the benchmark starts, reads line by line and ends. Destroying it ends the
// program if it still runs.
class ChildProcess {
 public:
  using Clock = std::chrono::steady_clock;

  struct Line {
    std::string text;
    Clock::time_point when;  // when it came in
  };

  // Starts argv[0] (a path) with these arguments and the environment plus `environment`
  // ("NAME=value", replacing a variable of the same name). Its standard output and error
  // come to us; nullptr with `error` set when it cannot be started.
  static std::unique_ptr<ChildProcess> Start(const std::vector<std::string>& argv,
                                             const std::vector<std::string>& environment,
                                             std::string& error);
  ~ChildProcess();
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  pid_t pid() const { return pid_; }
  // Taken just before the program was started.
  Clock::time_point startedAt() const { return startedAt_; }

  // The next line of its standard output; empty when the deadline passed first or the
  // program closed its output.
  std::optional<Line> ReadLine(Clock::time_point deadline);
  // Its exit status (a signal that ended it counts as 128 + the signal), once it has ended;
  // empty when it still runs at the deadline.
  std::optional<int> Wait(Clock::time_point deadline);
  // Asks it to end (SIGTERM); if it has not after `grace`, ends it (SIGKILL). Then reaped.
  void End(std::chrono::milliseconds grace);

  // The last of what it wrote to its standard error.
  const std::string& errorOutput() const { return errorOutput_; }

 private:
  ChildProcess() = default;
  // Takes what is waiting on both pipes; false when the output has closed.
  bool Drain();

  pid_t pid_ = -1;
  bool reaped_ = false;
  int exitStatus_ = 0;
  link::UniqueFd out_;
  link::UniqueFd err_;
  Clock::time_point startedAt_;
  std::string pending_;  // output not yet a whole line
  std::string errorOutput_;
};

}  // namespace qelvo::bench
