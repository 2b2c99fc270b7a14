#pragma once

#include <chrono>
#include <cstdint>
#include <span>
#include <vector>

#include "harness/fuzz_input.h"
#include "link/byte_stream.h"

namespace qelvo::fuzz {

// A port whose every Read is decided by the fuzz data: one control byte, then the bytes that
// arrive. Control 0xFF: the read fails; 0xFE: nothing arrives and the next pause is
// cancelled; 0xFD: nothing arrives and the next write fails; 0xF0..0xFC: nothing arrives;
// any other c: c % (asked + 1) bytes arrive (fewer where the data ends). With the data used
// up the line is silent. Nothing sleeps.
class FuzzedByteStream final : public link::ByteStream {
 public:
  explicit FuzzedByteStream(FuzzInput& input) : input_(input) {}

  int Read(std::span<std::uint8_t> dst) override;
  bool Write(std::span<const std::uint8_t> src) override;
  bool Purge() override { return true; }
  bool Pause(std::chrono::milliseconds duration) override;
  void Cancel() override { cancelled_ = true; }
  void Resume() override { cancelled_ = false; }

  // Every frame written, in order.
  const std::vector<std::vector<std::uint8_t>>& Written() const { return written_; }
  // Every byte that arrived since the last ClearArrived().
  const std::vector<std::uint8_t>& Arrived() const { return arrived_; }
  void ClearArrived() { arrived_.clear(); }
  // Reads that failed and pauses that were cancelled so far.
  int Failures() const { return failures_; }

 private:
  FuzzInput& input_;
  std::vector<std::vector<std::uint8_t>> written_;
  std::vector<std::uint8_t> arrived_;
  bool failNextPause_ = false;
  bool failNextWrite_ = false;
  bool cancelled_ = false;
  int failures_ = 0;
};

}  // namespace qelvo::fuzz
