#include "app/controller_connection.h"

#include <utility>

namespace qelvo::app {

SerialConnection::SerialConnection(link::Link& link, std::vector<std::string> givenPorts)
    : link_(link), connector_(link, std::move(givenPorts)) {
  connector_.onSettingError = [this](const std::string& path) {
    if (onSettingError)
      onSettingError(path);
  };
}

bool SerialConnection::ConnectController() {
  const bool connected = connector_.ConnectController();
  if (connected && connector_.port() != nullptr)
    link_.port = connector_.port();
  return connected;
}

}  // namespace qelvo::app
