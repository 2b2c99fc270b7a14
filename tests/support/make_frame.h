#pragma once

#include <cstdint>
#include <initializer_list>
#include <span>
#include <string>
#include <vector>

namespace qelvo::test_support {

using Bytes = std::vector<std::uint8_t>;

// A whole frame as the controller sends it: command, length, payload, checksum.
Bytes MakeFrame(std::uint8_t command, std::span<const std::uint8_t> payload = {});
Bytes MakeFrame(std::uint8_t command, std::initializer_list<std::uint8_t> payload);

// "F1 00 F1": bytes as upper-case hex, one space apart, for readable expectations.
std::string Hex(std::span<const std::uint8_t> bytes);

}  // namespace qelvo::test_support
