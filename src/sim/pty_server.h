#pragma once

#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "sim/controller.h"
#include "sim/unique_fd.h"

namespace qelvo::sim {

// Serves a SimulatedController on the master side of a pseudo-terminal, on a thread of its
// own, so that a serial port opens the slave path like any other port. With a link path, a
// symbolic link there always points at the current slave.
//
// When the port vanishes (the vanish fault, or Vanish()), the master is closed, so a client
// holding the slave gets EIO, and the link is removed; when it comes back, a new
// pseudo-terminal is made and the link points at it.
class PtyServer {
 public:
  struct StartResult {
    std::unique_ptr<PtyServer> server;
    std::string error;  // why it could not start, when server is empty
  };
  // The controller must outlive the server. An existing file at the link path that is not
  // a symbolic link is left alone and the start fails.
  static StartResult Start(SimulatedController& controller, const std::string& linkPath = {});

  ~PtyServer();  // stops the thread, closes the terminal, removes the link
  PtyServer(const PtyServer&) = delete;
  PtyServer& operator=(const PtyServer&) = delete;

  // The path a client opens: the link path when one was given, else the first slave path.
  std::string PortPath() const;
  std::string SlavePath() const;  // empty while the port is away
  const std::string& linkPath() const { return linkPath_; }

  // Makes the port vanish now; it comes back after `away`, or on ComeBack() when 0.
  // Both return false when the thread did not carry them out within a second or two.
  bool Vanish(std::chrono::milliseconds away = {});
  bool ComeBack();
  bool vanished() const;
  // Waits until the port is away (true) or back (false); false on timeout.
  bool WaitFor(bool away, std::chrono::milliseconds timeout) const;
  // The latest failure to bring the port back, or empty.
  std::string lastError() const;

 private:
  enum class Request { None, Vanish, ComeBack };

  PtyServer(SimulatedController& controller, std::string linkPath);
  bool OpenTerminal(std::string& error);
  void CloseTerminal();
  void Run();
  void Wake() const;
  bool Ask(Request request, std::chrono::milliseconds away, bool expectAway);
  void GoAway(std::chrono::milliseconds away);
  void TryComeBack();
  void ServeInput();
  void ServeOutput();
  void ClearExclusiveAfterClose();
  std::optional<std::chrono::nanoseconds> NextWait() const;

  SimulatedController& controller_;
  const std::string linkPath_;
  std::string firstSlavePath_;
  UniqueFd wake_;

  mutable std::mutex mutex_;
  mutable std::condition_variable changed_;
  bool stop_ = false;
  Request request_ = Request::None;
  std::chrono::milliseconds requestedAway_{0};
  bool away_ = false;
  std::string slavePath_;
  std::string lastError_;

  // Owned by the serving thread once it runs.
  UniqueFd master_;
  UniqueFd slave_;  // keeps the slave open so that the master never reads EIO between clients
  UniqueFd closeWatch_;
  std::optional<Clock::time_point> comeBackAt_;
  std::optional<Clock::time_point> masterQuietUntil_;
  std::vector<std::uint8_t> unsent_;

  std::thread thread_;
};

}  // namespace qelvo::sim
