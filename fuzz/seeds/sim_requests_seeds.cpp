#include <array>
#include <cstdint>
#include <span>

#include "link/commands.h"
#include "link/packet.h"
#include "seeds/seed_set.h"

namespace qelvo::fuzz {

namespace {

namespace command = link::command;
using Bytes = std::vector<std::uint8_t>;

// One piece as the simulator check reads it: its size, its bytes, the gap after it (ms).
void Request(Bytes& seed, std::uint8_t commandByte, std::span<const std::uint8_t> payload = {},
             std::uint8_t gap = 60) {
  Bytes frame = {commandByte, static_cast<std::uint8_t>(payload.size())};
  frame.insert(frame.end(), payload.begin(), payload.end());
  frame.push_back(link::Checksum(frame));
  seed.push_back(static_cast<std::uint8_t>(frame.size()));
  seed.insert(seed.end(), frame.begin(), frame.end());
  seed.push_back(gap);
}

}  // namespace

std::vector<Seed> SimRequestsSeeds() {
  std::vector<Seed> seeds;

  // A whole session: handshake, image read, a write with its commit, monitor and zero points.
  Bytes session = {0x06, 1, 0};
  Request(session, command::kHandshake);
  Request(session, command::kPrepare);
  for (std::uint8_t block = 0; block < 32; ++block) {
    const std::array<std::uint8_t, 3> read = {static_cast<std::uint8_t>(block * 16 % 256), 16,
                                              static_cast<std::uint8_t>(block * 16 / 256)};
    Request(session, command::kReadBlock, read, 10);
  }
  Request(session, command::kPrepare);
  const std::array<std::uint8_t, 16> write = {0x20, 13, 0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
  Request(session, command::kWriteBlock, write);
  Request(session, command::kCommit, {}, 250);
  for (const std::uint8_t block :
       {command::kMonitorBlock1, command::kMonitorBlock2, command::kMonitorBlock3})
    Request(session, block);
  Request(session, command::kReadZeroPoints);
  seeds.push_back({"session", session});

  // Paced, a Read block past the image's end, a request cut by a line reset, a bad checksum.
  Bytes edges = {0x13, 7, 1};
  const std::array<std::uint8_t, 3> pastEnd = {0xF8, 16, 1};
  Request(edges, command::kReadBlock, pastEnd);
  edges.insert(edges.end(), {2, command::kPrepare, 0, 0, 0xFF});
  edges.insert(edges.end(), {3, command::kCommit, 0, 0x00, 30});
  seeds.push_back({"edges", edges});
  return seeds;
}

}  // namespace qelvo::fuzz
