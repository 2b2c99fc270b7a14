#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace qelvo::fuzz {

// Hands the fuzz data out piece by piece from the front. Once it is used up every byte reads
// as 0 and every span is empty, so a check never needs to ask how much is left.
class FuzzInput {
 public:
  explicit FuzzInput(std::span<const std::uint8_t> data) : data_(data) {}

  bool Empty() const { return at_ >= data_.size(); }
  std::uint8_t Byte();
  // Four bytes, most significant first.
  std::int32_t Int32();
  // The next `count` bytes, fewer when the data ends first.
  std::span<const std::uint8_t> Bytes(std::size_t count);
  std::span<const std::uint8_t> Rest();

 private:
  std::span<const std::uint8_t> data_;
  std::size_t at_ = 0;
};

}  // namespace qelvo::fuzz
