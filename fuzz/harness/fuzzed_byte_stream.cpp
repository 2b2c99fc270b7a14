#include "harness/fuzzed_byte_stream.h"

#include <algorithm>

namespace qelvo::fuzz {

namespace {

constexpr std::uint8_t kReadFails = 0xFF;
constexpr std::uint8_t kPauseFails = 0xFE;
constexpr std::uint8_t kWriteFails = 0xFD;
constexpr std::uint8_t kFirstSilent = 0xF0;

}  // namespace

int FuzzedByteStream::Read(std::span<std::uint8_t> dst) {
  if (input_.Empty() && !cancelled_)
    return 0;
  const std::uint8_t control = cancelled_ ? kReadFails : input_.Byte();
  if (control == kReadFails) {
    ++failures_;
    return -1;
  }
  if (control == kPauseFails)
    failNextPause_ = true;
  if (control == kWriteFails)
    failNextWrite_ = true;
  if (control >= kFirstSilent)
    return 0;
  const auto bytes = input_.Bytes(control % (dst.size() + 1));
  std::ranges::copy(bytes, dst.begin());
  arrived_.insert(arrived_.end(), bytes.begin(), bytes.end());
  return static_cast<int>(bytes.size());
}

bool FuzzedByteStream::Write(std::span<const std::uint8_t> src) {
  written_.emplace_back(src.begin(), src.end());
  if (cancelled_ || failNextWrite_) {
    failNextWrite_ = false;
    return false;
  }
  return true;
}

bool FuzzedByteStream::Pause(std::chrono::milliseconds) {
  if (cancelled_ || failNextPause_) {
    failNextPause_ = false;
    ++failures_;
    return false;
  }
  return true;
}

}  // namespace qelvo::fuzz
