#include "bench/child_process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstring>
#include <thread>

extern char** environ;

namespace qelvo::bench {

namespace {

using namespace std::chrono_literals;

// Enough of its standard error to say why it failed.
constexpr std::size_t kKeptErrorOutput = 4096;
constexpr std::size_t kReadChunk = 4096;
constexpr auto kReapPoll = 5ms;
constexpr int kSignalExitBase = 128;

std::string VariableName(const std::string& assignment) {
  return assignment.substr(0, assignment.find('='));
}

std::vector<std::string> MergedEnvironment(const std::vector<std::string>& extra) {
  std::vector<std::string> merged;
  for (char** entry = environ; *entry != nullptr; ++entry) {
    const std::string variable = *entry;
    bool replaced = false;
    for (const std::string& e : extra)
      replaced = replaced || VariableName(e) == VariableName(variable);
    if (!replaced)
      merged.push_back(variable);
  }
  merged.insert(merged.end(), extra.begin(), extra.end());
  return merged;
}

std::vector<char*> Pointers(std::vector<std::string>& strings) {
  std::vector<char*> pointers;
  for (std::string& s : strings)
    pointers.push_back(s.data());
  pointers.push_back(nullptr);
  return pointers;
}

// Both ends close on exec; the child's copy is made by dup2, which clears the flag.
bool MakePipe(link::UniqueFd& readEnd, link::UniqueFd& writeEnd) {
  std::array<int, 2> fds{};
  if (::pipe2(fds.data(), O_CLOEXEC) != 0)
    return false;
  readEnd.reset(fds[0]);
  writeEnd.reset(fds[1]);
  return true;
}

int StatusOf(int waitStatus) {
  if (WIFEXITED(waitStatus))
    return WEXITSTATUS(waitStatus);
  if (WIFSIGNALED(waitStatus))
    return kSignalExitBase + WTERMSIG(waitStatus);
  return -1;
}

}  // namespace

std::unique_ptr<ChildProcess> ChildProcess::Start(const std::vector<std::string>& argv,
                                                  const std::vector<std::string>& environment,
                                                  std::string& error) {
  if (argv.empty()) {
    error = "no program given";
    return nullptr;
  }
  std::unique_ptr<ChildProcess> child(new ChildProcess);
  link::UniqueFd outWrite;
  link::UniqueFd errWrite;
  if (!MakePipe(child->out_, outWrite) || !MakePipe(child->err_, errWrite)) {
    error = std::string("cannot make a pipe: ") + std::strerror(errno);
    return nullptr;
  }

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, outWrite.get(), STDOUT_FILENO);
  posix_spawn_file_actions_adddup2(&actions, errWrite.get(), STDERR_FILENO);

  std::vector<std::string> args = argv;
  std::vector<std::string> env = MergedEnvironment(environment);
  const std::vector<char*> argPointers = Pointers(args);
  const std::vector<char*> envPointers = Pointers(env);

  child->startedAt_ = Clock::now();
  const int spawned = ::posix_spawn(&child->pid_, args[0].c_str(), &actions, nullptr,
                                    argPointers.data(), envPointers.data());
  posix_spawn_file_actions_destroy(&actions);
  if (spawned != 0) {
    error = "cannot start " + args[0] + ": " + std::strerror(spawned);
    return nullptr;
  }
  return child;
}

ChildProcess::~ChildProcess() {
  if (pid_ > 0 && !reaped_) {
    ::kill(pid_, SIGKILL);
    ::waitpid(pid_, nullptr, 0);
  }
}

bool ChildProcess::Drain() {
  std::array<char, kReadChunk> buffer{};
  for (link::UniqueFd* fd : {&out_, &err_}) {
    if (!fd->valid())
      continue;
    pollfd ready{fd->get(), POLLIN, 0};
    if (::poll(&ready, 1, 0) <= 0)
      continue;
    const ssize_t got = ::read(fd->get(), buffer.data(), buffer.size());
    if (got <= 0) {
      fd->reset();
      continue;
    }
    std::string& into = fd == &out_ ? pending_ : errorOutput_;
    into.append(buffer.data(), static_cast<std::size_t>(got));
    if (fd == &err_ && errorOutput_.size() > kKeptErrorOutput)
      errorOutput_.erase(0, errorOutput_.size() - kKeptErrorOutput);
  }
  return out_.valid();
}

std::optional<ChildProcess::Line> ChildProcess::ReadLine(Clock::time_point deadline) {
  for (;;) {
    const auto newline = pending_.find('\n');
    if (newline != std::string::npos) {
      Line line{pending_.substr(0, newline), Clock::now()};
      pending_.erase(0, newline + 1);
      return line;
    }
    if (!out_.valid())
      return std::nullopt;
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now());
    if (left.count() <= 0)
      return std::nullopt;
    std::array<pollfd, 2> fds = {pollfd{out_.get(), POLLIN, 0},
                                 pollfd{err_.valid() ? err_.get() : -1, POLLIN, 0}};
    if (::poll(fds.data(), fds.size(), static_cast<int>(left.count())) < 0 && errno != EINTR)
      return std::nullopt;
    Drain();
  }
}

std::optional<int> ChildProcess::Wait(Clock::time_point deadline) {
  while (!reaped_) {
    int status = 0;
    const pid_t done = ::waitpid(pid_, &status, WNOHANG);
    if (done == pid_) {
      reaped_ = true;
      exitStatus_ = StatusOf(status);
      break;
    }
    if (done < 0) {
      reaped_ = true;
      exitStatus_ = -1;
      break;
    }
    if (Clock::now() >= deadline)
      return std::nullopt;
    Drain();
    std::this_thread::sleep_for(kReapPoll);
  }
  Drain();
  return exitStatus_;
}

void ChildProcess::End(std::chrono::milliseconds grace) {
  if (reaped_)
    return;
  ::kill(pid_, SIGTERM);
  if (!Wait(Clock::now() + grace)) {
    ::kill(pid_, SIGKILL);
    Wait(Clock::time_point::max());
  }
}

}  // namespace qelvo::bench
