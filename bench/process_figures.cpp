#include "bench/process_figures.h"

#include <sys/resource.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace qelvo::bench {

namespace {

constexpr std::string_view kResidentKey = "VmRSS:";
constexpr double kNanosecondsPerSecond = 1e9;
constexpr double kMicrosecondsPerSecond = 1e6;
// utime and stime are fields 14 and 15 of /proc/PID/stat; counted after the command name,
// which ends with the last ')', they are the 12th and 13th.
constexpr int kUserTimeFieldAfterName = 12;

std::optional<long> ResidentKbFrom(const std::string& statusPath) {
  std::ifstream status(statusPath);
  std::string line;
  while (std::getline(status, line)) {
    if (!line.starts_with(kResidentKey))
      continue;
    std::istringstream fields(line.substr(kResidentKey.size()));
    long kb = 0;
    if (fields >> kb)
      return kb;
    return std::nullopt;
  }
  return std::nullopt;
}

// The first field of a thread's schedstat: nanoseconds it has run.
std::optional<double> ThreadRunSeconds(const std::filesystem::path& schedstat) {
  std::ifstream file(schedstat);
  unsigned long long ns = 0;
  if (!(file >> ns))
    return std::nullopt;
  return static_cast<double>(ns) / kNanosecondsPerSecond;
}

std::optional<double> ClockTickSeconds(pid_t pid) {
  std::ifstream file("/proc/" + std::to_string(pid) + "/stat");
  std::string text;
  std::getline(file, text);
  const auto nameEnd = text.rfind(')');
  if (nameEnd == std::string::npos)
    return std::nullopt;
  std::istringstream fields(text.substr(nameEnd + 1));
  std::string skipped;
  for (int i = 1; i < kUserTimeFieldAfterName; ++i)
    fields >> skipped;
  unsigned long long user = 0, system = 0;
  if (!(fields >> user >> system))
    return std::nullopt;
  const long ticksPerSecond = ::sysconf(_SC_CLK_TCK);
  return static_cast<double>(user + system) / static_cast<double>(ticksPerSecond);
}

}  // namespace

std::optional<long> OwnResidentKb() {
  return ResidentKbFrom("/proc/self/status");
}

std::optional<long> ResidentKb(pid_t pid) {
  return ResidentKbFrom("/proc/" + std::to_string(pid) + "/status");
}

double OwnCpuSeconds() {
  rusage usage{};
  ::getrusage(RUSAGE_SELF, &usage);
  const auto seconds = [](const timeval& t) {
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) / kMicrosecondsPerSecond;
  };
  return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

std::optional<double> CpuSeconds(pid_t pid) {
  const std::filesystem::path tasks = "/proc/" + std::to_string(pid) + "/task";
  std::error_code error;
  double total = 0;
  bool any = false;
  for (const auto& task : std::filesystem::directory_iterator(tasks, error)) {
    const auto seconds = ThreadRunSeconds(task.path() / "schedstat");
    if (!seconds)
      return ClockTickSeconds(pid);
    total += *seconds;
    any = true;
  }
  if (!any)
    return ClockTickSeconds(pid);
  return total;
}

std::optional<double> LoadAverage() {
  std::ifstream file("/proc/loadavg");
  double oneMinute = 0;
  if (!(file >> oneMinute))
    return std::nullopt;
  return oneMinute;
}

}  // namespace qelvo::bench
