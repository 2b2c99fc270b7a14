#pragma once

#include <chrono>
#include <string>

namespace qelvo::bench {

// The program's start-up on the headless dialogs, run in a process of its own against the
// controller on `port`: the motor warning answered Yes, then the main window until the
// Vehicle page is shown. Every frame goes to `traceFile`. It reports on standard output, one
// "name value" line each:
//   main NS          steady-clock time when main() ran
//   shown NS         when the main window came up with the Vehicle page
//   rss_kb KB        resident memory then
//   idle_cpu_s S     CPU used while it then sat idle for `idle`
//   idle_wall_s S    how long that was
//   failed WHY       instead of the others, when the start-up did not get there
// Returns the process's exit status.
int RunHeadlessStartup(const std::string& port, const std::string& traceFile,
                       std::chrono::milliseconds idle);

// The steady clock as the reports give it.
long long SteadyNanoseconds(std::chrono::steady_clock::time_point when);

}  // namespace qelvo::bench
