#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <span>
#include <vector>

#include "link/byte_stream.h"
#include "support/make_frame.h"

namespace qelvo::test_support {

// A byte stream that plays a script: every Read takes the next queued result (bytes, nothing,
// or a failure); with the script used up every Read gets nothing. Writes, pauses, reads and
// purges are recorded in order. Time is fake: nothing sleeps, the clock moves by each pause
// and each read's wait. Safe to use from two threads (a worker reading, a test cancelling).
class ScriptedStream final : public link::ByteStream {
 public:
  // Sees every frame written, after it was recorded; may queue the reply.
  using Responder = std::function<void(ScriptedStream&, std::span<const std::uint8_t> written)>;

  enum class EventKind { Write, Read, Pause, Purge };
  struct Event {
    EventKind kind;
    Bytes bytes;                        // Write: what went out; Read: what came back
    std::chrono::milliseconds pause{};  // Pause
    int result = 0;                     // Read: its return value
  };

  // One read that returns these bytes; a chunk longer than the read asked for is split, the
  // rest coming with the next read. An empty chunk is a read that got nothing.
  void QueueBytes(Bytes chunk);
  // A well-formed reply frame, arriving in one read.
  void QueueReply(std::uint8_t command, std::span<const std::uint8_t> payload = {});
  void QueueReply(std::uint8_t command, std::initializer_list<std::uint8_t> payload);
  void QueueSilence(int reads = 1);
  void QueueReadFailure();

  void SetResponder(Responder responder);
  void SetWriteFails(bool fails);
  void SetPurgeFails(bool fails);

  std::vector<Event> Events() const;
  std::vector<Bytes> Writes() const;
  std::vector<std::chrono::milliseconds> Pauses() const;
  int ReadCount() const;
  // Script entries not yet read.
  std::size_t Pending() const;
  std::chrono::milliseconds Elapsed() const;
  void ClearRecord();

  int Read(std::span<std::uint8_t> dst) override;
  bool Write(std::span<const std::uint8_t> src) override;
  bool Purge() override;
  bool Pause(std::chrono::milliseconds duration) override;
  // Makes every Read, Write and Pause fail until Resume().
  void Cancel() override;
  void Resume() override;

 private:
  struct Entry {
    bool fails = false;
    Bytes bytes;
  };

  mutable std::mutex mutex_;
  std::deque<Entry> script_;
  std::vector<Event> events_;
  Responder responder_;
  bool writeFails_ = false;
  bool purgeFails_ = false;
  std::chrono::milliseconds elapsed_{};
  std::atomic<bool> cancelled_{false};
};

}  // namespace qelvo::test_support
