#pragma once

#include <memory>
#include <string>

#include "sim/controller.h"
#include "sim/pty_server.h"
#include "support/temp_dir.h"

namespace qelvo::e2e {

// The simulated controller served on a pseudo-terminal behind a symbolic link: a port that
// can vanish and come back under the same path, as a USB adapter pulled and plugged in does.
class SimulatedPort {
 public:
  // Paced: the replies take the time 19200 baud gives them; otherwise they come at once.
  explicit SimulatedPort(bool paced);
  SimulatedPort(const SimulatedPort&) = delete;
  SimulatedPort& operator=(const SimulatedPort&) = delete;

  sim::SimulatedController& controller() { return *controller_; }
  sim::PtyServer& server() { return *server_; }
  // The path the program is given; empty when the server did not start.
  std::string path() const;

 private:
  test_support::TempDir dir_;
  std::unique_ptr<sim::SimulatedController> controller_;
  std::unique_ptr<sim::PtyServer> server_;
};

}  // namespace qelvo::e2e
