#pragma once

#include <chrono>
#include <cstdint>
#include <span>

namespace qelvo::link {

// What the packet layer needs of a port: the serial port in the program, a scripted
// stream in the tests. Every wait in here can be cancelled (see Cancel()).
class ByteStream {
 public:
  virtual ~ByteStream() = default;

  // Reads up to dst.size() bytes. Returns the number read, 0 when nothing arrived in time,
  // or -1 when the port failed (or the wait was cancelled).
  virtual int Read(std::span<std::uint8_t> dst) = 0;
  // Writes all of src in one call; false when the port failed or the write timed out.
  virtual bool Write(std::span<const std::uint8_t> src) = 0;
  // Discards both queues.
  virtual bool Purge() = 0;
  // One of the protocol's fixed pauses. False when it was cancelled.
  virtual bool Pause(std::chrono::milliseconds duration) = 0;

  // Cancels a waiting Read, Write or Pause at once, from any thread; every later wait fails
  // at once too until Resume().
  virtual void Cancel() = 0;
  virtual void Resume() = 0;
};

}  // namespace qelvo::link
