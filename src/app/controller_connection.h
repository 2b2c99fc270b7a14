#pragma once

#include <functional>
#include <string>
#include <vector>

#include "link/connect.h"
#include "link/packet.h"

namespace qelvo::app {

// How the main window reaches the controller at start-up.
class ControllerConnection {
 public:
  virtual ~ControllerConnection() = default;

  // One pass over the ports; true once a controller answered, and from then on at once.
  // On success the run's link travels over the port that answered.
  virtual bool ConnectController() = 0;

  // Called for each port whose first configuration pass failed.
  std::function<void(const std::string& path)> onSettingError;
};

// The serial ports of the machine, or the given list instead of them.
class SerialConnection final : public ControllerConnection {
 public:
  SerialConnection(link::Link& link, std::vector<std::string> givenPorts);
  SerialConnection(const SerialConnection&) = delete;
  SerialConnection& operator=(const SerialConnection&) = delete;

  bool ConnectController() override;

 private:
  link::Link& link_;
  link::Connector connector_;
};

}  // namespace qelvo::app
