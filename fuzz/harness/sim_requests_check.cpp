#include "harness/sim_requests_check.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <string>
#include <vector>

#include "harness/fuzz_input.h"
#include "link/commands.h"
#include "link/packet.h"
#include "sim/controller.h"

namespace qelvo::fuzz {

namespace {

using link::kLengthIndex;
using link::kMaxPayload;

constexpr std::uint8_t kResetLine = 0xFF;
constexpr std::size_t kMaxPiece = 40;
constexpr int kMaxPieces = 256;

sim::Identity IdentityFor(std::uint8_t selector) {
  sim::Identity identity;
  identity.family = (selector & 1) != 0 ? "RN" : "QV";
  identity.softwareVersion = static_cast<std::uint16_t>(0x0100 + (selector >> 1) % 12);
  identity.comMarker = (selector & 0x80) != 0 ? "2Q" : "";
  return identity;
}

// Cuts what the controller sent into frames; false when a frame is malformed. A frame cut
// off by a line reset is left in `pending` for the caller to drop.
bool TakeFrames(std::vector<std::uint8_t>& pending, std::string& problem) {
  while (pending.size() >= 2) {
    const std::size_t length = pending[kLengthIndex];
    if (length > kMaxPayload) {
      problem = "a reply claims " + std::to_string(length) + " payload bytes";
      return false;
    }
    if (pending.size() < length + 3)
      return true;
    const auto frame = std::span<const std::uint8_t>(pending).first(length + 3);
    if (link::Checksum(frame.first(length + 2)) != frame.back()) {
      problem = "a reply has a wrong checksum";
      return false;
    }
    pending.erase(pending.begin(), pending.begin() + static_cast<long>(length) + 3);
  }
  return true;
}

}  // namespace

Violation CheckSimRequests(std::span<const std::uint8_t> data) {
  FuzzInput input(data);
  const auto start = sim::Clock::time_point{} + std::chrono::hours(1);
  sim::SimulatedController controller(IdentityFor(input.Byte()), input.Byte(), start);
  controller.SetPaced((input.Byte() & 1) != 0);
  const link::CalibrationImage stored = controller.StoredBlock();

  auto now = start;
  std::vector<std::uint8_t> sent;
  std::array<std::uint8_t, link::kPacketBufferSize> out{};
  for (int piece = 0; piece < kMaxPieces && !input.Empty(); ++piece) {
    const std::uint8_t control = input.Byte();
    if (control == kResetLine) {
      controller.ResetLine();
      sent.clear();
      continue;
    }
    controller.Receive(input.Bytes(control % kMaxPiece), now);
    // The gap before the next piece: from none to well past any reply's pacing.
    now += std::chrono::milliseconds(input.Byte());
    while (const std::size_t n = controller.TakeOutput(now, out))
      sent.insert(sent.end(), out.begin(), out.begin() + static_cast<long>(n));
    std::string problem;
    if (!TakeFrames(sent, problem))
      return problem;
  }
  // Everything still waiting goes out.
  now += std::chrono::seconds(10);
  while (const std::size_t n = controller.TakeOutput(now, out))
    sent.insert(sent.end(), out.begin(), out.begin() + static_cast<long>(n));
  std::string problem;
  if (!TakeFrames(sent, problem))
    return problem;

  const std::vector<sim::RequestRecord> log = controller.RequestLog();
  const bool committed = std::ranges::any_of(log, [](const sim::RequestRecord& request) {
    return request.checksumOk && request.command() == link::command::kCommit;
  });
  if (!committed && controller.StoredBlock() != stored)
    return std::string("the stored block changed without a Commit");
  return std::nullopt;
}

}  // namespace qelvo::fuzz
