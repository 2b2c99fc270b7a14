#include "harness/fuzz_input.h"

#include <algorithm>

namespace qelvo::fuzz {

std::uint8_t FuzzInput::Byte() {
  return Empty() ? 0 : data_[at_++];
}

std::int32_t FuzzInput::Int32() {
  std::uint32_t value = 0;
  for (int i = 0; i < 4; ++i)
    value = (value << 8) | Byte();
  return static_cast<std::int32_t>(value);
}

std::span<const std::uint8_t> FuzzInput::Bytes(std::size_t count) {
  const std::size_t taken = std::min(count, data_.size() - std::min(at_, data_.size()));
  const auto bytes = data_.subspan(std::min(at_, data_.size()), taken);
  at_ += taken;
  return bytes;
}

std::span<const std::uint8_t> FuzzInput::Rest() {
  return Bytes(data_.size());
}

}  // namespace qelvo::fuzz
