#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "link/packet.h"
#include "link/serial_port.h"

namespace qelvo::link {

// Finds the controller: tries every port in list order (open, configure, reopen, configure,
// handshake); the first that answers is kept open for the rest of the run.
class Connector {
 public:
  // With an empty list the ports are discovered at every attempt; a given list replaces them.
  explicit Connector(Link& link, std::vector<std::string> givenPorts = {});

  // Called once for each port whose first configuration pass failed (message 147).
  std::function<void(const std::string& path)> onSettingError;

  // True at once when already connected; otherwise one pass over the ports. link.port points
  // at the port being tried, then at the kept one (nullptr when none answered).
  bool ConnectController();

  bool connected() const { return connected_; }
  SerialPort* port() const { return port_.get(); }
  const std::vector<std::string>& portNames() const { return portNames_; }

 private:
  bool OpenAndHandshake(SerialPort& port);

  Link& link_;
  std::vector<std::string> givenPorts_;
  std::vector<std::string> portNames_;
  std::unique_ptr<SerialPort> port_;
  bool connected_ = false;
};

// The handshake reply's payload byte 2 tells a controller: 1 or 2.
bool IsHandshakeReply(const PacketBuffer& receive);

}  // namespace qelvo::link
