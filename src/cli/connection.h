#pragma once

#include <iosfwd>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "link/connect.h"
#include "link/packet.h"
#include "link/trace_log.h"
#include "sim/controller.h"
#include "sim/options.h"
#include "sim/pty_server.h"

namespace qelvo::cli {

// Where a command finds its controller: --port PATH (repeatable), --simulate[=FAMILY:VERSION]
// with the simulator's own options, or the machine's serial ports; --trace FILE.
struct ConnectionOptions {
  std::vector<std::string> ports;
  bool simulate = false;
  sim::SimOptions simulator;
  std::string tracePath;
};

// Takes the connection options out of `words` (the rest stay, in order). A simulator option
// without --simulate is an error. False with a message when a word is wrong.
bool TakeConnectionOptions(std::vector<std::string>& words, ConnectionOptions& options,
                           std::string& error);

// The link to one controller, for one command.
class ControllerSession {
 public:
  // Connects as the options say; prints "RS232 setting error. " for each port whose
  // configuration failed. Empty, with a message in `error`, when no controller answered.
  static std::unique_ptr<ControllerSession> Open(const ConnectionOptions& options,
                                                 std::ostream& err, std::string& error);
  ~ControllerSession();
  ControllerSession(const ControllerSession&) = delete;
  ControllerSession& operator=(const ControllerSession&) = delete;

  link::Link& link() { return link_; }
  const std::string& portPath() const;
  // The in-process simulated controller, when --simulate was given.
  sim::SimulatedController* simulator() { return simulator_.get(); }

 private:
  ControllerSession() = default;

  std::unique_ptr<link::TraceLog> trace_;
  std::unique_ptr<sim::SimulatedController> simulator_;
  std::unique_ptr<sim::PtyServer> server_;
  link::Link link_;
  std::unique_ptr<link::Connector> connector_;
};

}  // namespace qelvo::cli
