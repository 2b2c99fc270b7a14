#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "link/packet.h"

namespace qelvo::bench {

// One exchange as it went over the line: the request (none for a receive on its own) and
// the bytes that came back (0: nothing came).
struct ExchangeRecord {
  std::uint8_t command = 0;
  std::size_t requestBytes = 0;
  std::size_t replyBytes = 0;
};

// What the protocol itself costs, in milliseconds, at 19200 baud 8N1.
//
// sequential: every frame's bytes on the wire, the command's pause, the 5 ms before each
// read, and the 20 ms a read waits after the last byte of a reply shorter than 19 bytes,
// one after the other, as if a write returned only once its bytes had left.
//
// overlapped: the same pieces, but the pause after a request runs while the request and the
// reply are on the wire, as it does on a POSIX tty whose write returns once the bytes are
// queued. This is the earliest an exchange can end; a tool adding nothing of its own meets it.
struct LineTime {
  double sequentialMs = 0;
  double overlappedMs = 0;

  LineTime& operator+=(const LineTime& other) {
    sequentialMs += other.sequentialMs;
    overlappedMs += other.overlappedMs;
    return *this;
  }
};

// A pause the procedure takes outside any exchange (the settle pause of a connect).
LineTime FixedPause(std::chrono::milliseconds pause);
LineTime ModelOf(const ExchangeRecord& exchange);
LineTime ModelOf(std::span<const ExchangeRecord> exchanges);

// Turns a link's frame trace into exchanges: each sent frame opens one, the next received
// frame closes it. Used from one thread at a time.
class ExchangeRecorder {
 public:
  // Room for this many exchanges is taken up front, so recording allocates nothing.
  static constexpr std::size_t kDefaultCapacity = 256;
  explicit ExchangeRecorder(std::size_t capacity = kDefaultCapacity);

  // The recorder must outlive every link using the hook.
  link::TraceHook Hook();
  // One frame as the hook sees it.
  void Record(link::TraceDirection direction, std::span<const std::uint8_t> frame,
              std::chrono::steady_clock::time_point when);
  void Clear();

  std::span<const ExchangeRecord> exchanges() const { return exchanges_; }
  // When the first frame of the record went and when the last one came; empty before any.
  std::optional<std::chrono::steady_clock::time_point> firstFrame() const { return first_; }
  std::optional<std::chrono::steady_clock::time_point> lastFrame() const { return last_; }

 private:
  std::vector<ExchangeRecord> exchanges_;
  std::optional<ExchangeRecord> open_;
  std::optional<std::chrono::steady_clock::time_point> first_;
  std::optional<std::chrono::steady_clock::time_point> last_;
};

}  // namespace qelvo::bench
