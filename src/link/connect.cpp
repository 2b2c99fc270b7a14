#include "link/connect.h"

#include "link/commands.h"
#include "link/port_list.h"

namespace qelvo::link {

namespace {

// The controller's reply payload byte 2 names its kind.
constexpr std::size_t kHandshakeKindIndex = kPayloadIndex + 2;
constexpr std::uint8_t kHandshakeKindFirst = 1;
constexpr std::uint8_t kHandshakeKindSecond = 2;

// Lets the line settle after the first configuration pass.
constexpr std::chrono::milliseconds kSettlePause{20};

}  // namespace

bool IsHandshakeReply(const PacketBuffer& receive) {
  const std::uint8_t kind = receive[kHandshakeKindIndex];
  return kind == kHandshakeKindFirst || kind == kHandshakeKindSecond;
}

Connector::Connector(Link& link, std::vector<std::string> givenPorts)
    : link_(link), givenPorts_(std::move(givenPorts)) {}

bool Connector::ConnectController() {
  if (connected_) {
    return true;
  }
  portNames_ = givenPorts_.empty() ? EnumeratePorts() : givenPorts_;
  for (const auto& path : portNames_) {
    auto port = SerialPort::Open(path);
    if (!port) {
      continue;  // absent, or held by another program
    }
    link_.port = port.get();
    if (OpenAndHandshake(*port)) {
      port_ = std::move(port);
      connected_ = true;
      return true;
    }
    link_.port = nullptr;
  }
  return false;
}

bool Connector::OpenAndHandshake(SerialPort& port) {
  const bool settingsOk = port.Configure().ok();
  port.Pause(kSettlePause);
  if (!settingsOk && onSettingError) {
    onSettingError(port.path());
  }
  // Failures from here on show up as a failed handshake.
  port.Reopen();
  port.Configure();

  PutRequest(link_, command::kHandshake);
  SendPacket(link_);
  return ReceivePacket(link_) && IsHandshakeReply(link_.receive);
}

}  // namespace qelvo::link
