#pragma once

#include <array>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <optional>

#include "link/packet.h"

namespace qelvo::link {

inline constexpr std::size_t kImageSize = 512;
inline constexpr std::size_t kMonitorBufferSize = 48;
inline constexpr std::size_t kZeroPointCount = 5;

// The controller's 512-byte configuration block; all 0xFF until the first Read.
using CalibrationImage = std::array<std::uint8_t, kImageSize>;
using MonitorBuffer = std::array<std::uint8_t, kMonitorBufferSize>;
using ZeroPoints = std::array<std::uint16_t, kZeroPointCount>;

inline CalibrationImage FreshImage() {
  CalibrationImage image;
  image.fill(0xFF);
  return image;
}

namespace command {
inline constexpr std::uint8_t kHandshake = 0x11;
inline constexpr std::uint8_t kPrepare = 0xF1;
inline constexpr std::uint8_t kReadBlock = 0xF2;
inline constexpr std::uint8_t kWriteBlock = 0xF3;
inline constexpr std::uint8_t kCommit = 0xF4;
inline constexpr std::uint8_t kMonitorBlock1 = 0x3A;
inline constexpr std::uint8_t kMonitorBlock2 = 0x3B;
inline constexpr std::uint8_t kMonitorBlock3 = 0x3C;
inline constexpr std::uint8_t kReadZeroPoints = 0x35;
}  // namespace command

// The whole image, in 32 Read blocks of 16 bytes after two Prepares. A failed block leaves
// the image as it was (a short reply fails the exchange, it is never copied).
bool ReadImage(Link& link, CalibrationImage& image);
// Prepare, 40 Write blocks covering 0..511 once in ascending order, Commit.
bool WriteImage(Link& link, const CalibrationImage& image);

enum class ModelCheck {
  Match,     // the controller's bytes 0..7 equal the image's: the write may go ahead
  NoReply,   // no usable reply carrying the module name (message 163)
  Mismatch,  // another module name (message 161)
};
// Prepare, Prepare, Read block at 0, compare bytes 0..7 with the image. A reply too short to
// carry the eight name bytes is NoReply.
ModelCheck CheckModel(Link& link, const CalibrationImage& image);

// One monitor tick's three exchanges. Each answered block overwrites its third of the
// buffer; returns whether block 1 was answered (its reply's command byte must be 0x3A). A
// reply with fewer than 16 payload bytes counts as unanswered.
bool ExchangeMonitorBlocks(Link& link, MonitorBuffer& buffer);

// One zero-point reading (Read zero points, 50 ms, receive). Empty when it does not count: no
// reply, another command byte, or fewer than 10 payload bytes.
std::optional<ZeroPoints> ReadZeroPoints(Link& link);

}  // namespace qelvo::link
