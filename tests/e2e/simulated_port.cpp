#include "e2e/simulated_port.h"

#include <gtest/gtest.h>

namespace qelvo::e2e {

SimulatedPort::SimulatedPort(bool paced)
    : controller_(std::make_unique<sim::SimulatedController>()) {
  controller_->SetPaced(paced);
  auto started = sim::PtyServer::Start(*controller_, (dir_.path() / "ttyQELVO0").string());
  if (!started.server)
    ADD_FAILURE() << "the simulated controller did not start: " << started.error;
  server_ = std::move(started.server);
}

std::string SimulatedPort::path() const {
  return server_ ? server_->PortPath() : std::string();
}

}  // namespace qelvo::e2e
