#include "support/make_frame.h"

#include <algorithm>
#include <cstdio>

#include "link/packet.h"

namespace qelvo::test_support {

Bytes MakeFrame(std::uint8_t command, std::span<const std::uint8_t> payload) {
  Bytes frame(payload.size() + 3);
  frame[0] = command;
  frame[1] = static_cast<std::uint8_t>(payload.size());
  std::copy(payload.begin(), payload.end(), frame.begin() + 2);
  frame.back() = link::Checksum(std::span(frame).first(frame.size() - 1));
  return frame;
}

Bytes MakeFrame(std::uint8_t command, std::initializer_list<std::uint8_t> payload) {
  return MakeFrame(command, std::span<const std::uint8_t>(payload.begin(), payload.size()));
}

std::string Hex(std::span<const std::uint8_t> bytes) {
  std::string text;
  for (std::uint8_t b : bytes) {
    char digits[4];
    std::snprintf(digits, sizeof digits, "%02X", b);
    if (!text.empty()) {
      text += ' ';
    }
    text += digits;
  }
  return text;
}

}  // namespace qelvo::test_support
