#include <array>
#include <cstdint>
#include <initializer_list>
#include <span>

#include "link/commands.h"
#include "link/packet.h"
#include "seeds/seed_set.h"
#include "sim/default_image.h"

namespace qelvo::fuzz {

namespace {

namespace command = link::command;

// Operation selectors and read controls as the packet stream check and its port read them.
enum Operation : std::uint8_t {
  kReceive = 0,
  kReadImage,
  kCheckModel,
  kWriteImage,
  kMonitor,
  kZeroPoints,
  kCancelled
};
constexpr std::uint8_t kReadFails = 0xFF;
constexpr std::uint8_t kSilent = 0xF0;

using Bytes = std::vector<std::uint8_t>;

Bytes Frame(std::uint8_t commandByte, std::span<const std::uint8_t> payload = {}) {
  // Element by element: GCC 12 takes an insert of an empty span for an overflow.
  Bytes frame;
  frame.reserve(payload.size() + 3);
  frame.push_back(commandByte);
  frame.push_back(static_cast<std::uint8_t>(payload.size()));
  for (const std::uint8_t byte : payload)
    frame.push_back(byte);
  frame.push_back(link::Checksum(frame));
  return frame;
}

// One read that brings `bytes` (at most 19, the most a read asks for).
void Arrives(Bytes& seed, const Bytes& bytes) {
  seed.push_back(static_cast<std::uint8_t>(bytes.size()));
  seed.insert(seed.end(), bytes.begin(), bytes.end());
}

// The same bytes cut into reads of these sizes.
void ArrivesSplit(Bytes& seed, const Bytes& bytes, std::initializer_list<std::size_t> sizes) {
  std::size_t at = 0;
  for (const std::size_t size : sizes) {
    Arrives(seed, Bytes(bytes.begin() + at, bytes.begin() + at + size));
    at += size;
  }
}

void ImageReplies(Bytes& seed, const link::CalibrationImage& image, std::size_t blocks) {
  Arrives(seed, Frame(command::kPrepare));
  Arrives(seed, Frame(command::kPrepare));
  for (std::size_t block = 0; block < blocks; ++block)
    Arrives(seed, Frame(command::kReadBlock, std::span(image).subspan(block * 16, 16)));
}

}  // namespace

std::vector<Seed> PacketStreamSeeds() {
  const link::CalibrationImage image = sim::DefaultImage(sim::Identity{});
  std::vector<Seed> seeds;

  Bytes receive = {kReceive};
  Arrives(receive, Frame(command::kHandshake));
  receive.push_back(kReceive);
  const std::array<std::uint8_t, 16> payload = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14};
  ArrivesSplit(receive, Frame(command::kReadBlock, payload), {1, 0, 5, 13});
  receive.push_back(kReceive);
  receive.push_back(kSilent);
  Arrives(receive, {0x3A, 0x20, 0x01});
  seeds.push_back({"receive", receive});

  Bytes read = {kReadImage};
  ImageReplies(read, image, 32);
  seeds.push_back({"read_image", read});

  Bytes model = {kCheckModel};
  ImageReplies(model, image, 1);
  seeds.push_back({"check_model", model});

  Bytes write = {kWriteImage};
  Arrives(write, Frame(command::kPrepare));
  for (int block = 0; block < 40; ++block)
    Arrives(write, Frame(command::kWriteBlock));
  Arrives(write, Frame(command::kCommit));
  seeds.push_back({"write_image", write});

  Bytes monitor = {kMonitor};
  for (const std::uint8_t block :
       {command::kMonitorBlock1, command::kMonitorBlock2, command::kMonitorBlock3})
    Arrives(monitor, Frame(block, std::span(image).first(16)));
  monitor.push_back(kZeroPoints);
  Arrives(monitor, Frame(command::kReadZeroPoints, std::span(image).subspan(33, 10)));
  seeds.push_back({"monitor_and_zero_points", monitor});

  Bytes mixed = {kReadImage};
  Arrives(mixed, Frame(command::kPrepare));
  mixed.push_back(kReadFails);
  mixed.push_back(kCancelled);
  mixed.push_back(kWriteImage);
  Arrives(mixed, Frame(command::kPrepare));
  mixed.push_back(0xFD);  // the next write fails
  seeds.push_back({"failures", mixed});
  return seeds;
}

}  // namespace qelvo::fuzz
