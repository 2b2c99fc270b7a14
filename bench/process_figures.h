#pragma once

#include <sys/types.h>

#include <optional>

namespace qelvo::bench {

// Resident memory of this process (VmRSS in /proc/self/status), in kilobytes.
std::optional<long> OwnResidentKb();
// The same for another process of ours.
std::optional<long> ResidentKb(pid_t pid);

// CPU time this process has used, user and system, from getrusage.
double OwnCpuSeconds();
// CPU time another process has used so far, all its threads (scheduler statistics, with the
// clock-tick counts of /proc/PID/stat where those are missing).
std::optional<double> CpuSeconds(pid_t pid);

// The machine's load average over the last minute; figures taken on a busy machine run late.
std::optional<double> LoadAverage();

}  // namespace qelvo::bench
