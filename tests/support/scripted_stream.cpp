#include "support/scripted_stream.h"

#include <algorithm>

namespace qelvo::test_support {

namespace {

// What a read costs on the fake clock: a silent line holds it for 50 ms + 5 ms per byte, an
// answering one for the 20 ms gap after the last byte.
constexpr std::chrono::milliseconds kSilentReadBase{50};
constexpr std::chrono::milliseconds kSilentReadPerByte{5};
constexpr std::chrono::milliseconds kAnsweredRead{20};

}  // namespace

void ScriptedStream::QueueBytes(Bytes chunk) {
  std::lock_guard lock(mutex_);
  script_.push_back(Entry{false, std::move(chunk)});
}

void ScriptedStream::QueueReply(std::uint8_t command, std::span<const std::uint8_t> payload) {
  QueueBytes(MakeFrame(command, payload));
}

void ScriptedStream::QueueReply(std::uint8_t command, std::initializer_list<std::uint8_t> payload) {
  QueueBytes(MakeFrame(command, payload));
}

void ScriptedStream::QueueSilence(int reads) {
  std::lock_guard lock(mutex_);
  for (int i = 0; i < reads; ++i) {
    script_.push_back(Entry{});
  }
}

void ScriptedStream::QueueReadFailure() {
  std::lock_guard lock(mutex_);
  script_.push_back(Entry{true, {}});
}

void ScriptedStream::SetResponder(Responder responder) {
  std::lock_guard lock(mutex_);
  responder_ = std::move(responder);
}

void ScriptedStream::SetWriteFails(bool fails) {
  std::lock_guard lock(mutex_);
  writeFails_ = fails;
}

void ScriptedStream::SetPurgeFails(bool fails) {
  std::lock_guard lock(mutex_);
  purgeFails_ = fails;
}

std::vector<ScriptedStream::Event> ScriptedStream::Events() const {
  std::lock_guard lock(mutex_);
  return events_;
}

std::vector<Bytes> ScriptedStream::Writes() const {
  std::lock_guard lock(mutex_);
  std::vector<Bytes> writes;
  for (const auto& e : events_) {
    if (e.kind == EventKind::Write) {
      writes.push_back(e.bytes);
    }
  }
  return writes;
}

std::vector<std::chrono::milliseconds> ScriptedStream::Pauses() const {
  std::lock_guard lock(mutex_);
  std::vector<std::chrono::milliseconds> pauses;
  for (const auto& e : events_) {
    if (e.kind == EventKind::Pause) {
      pauses.push_back(e.pause);
    }
  }
  return pauses;
}

int ScriptedStream::ReadCount() const {
  std::lock_guard lock(mutex_);
  return static_cast<int>(std::ranges::count(events_, EventKind::Read, &Event::kind));
}

std::size_t ScriptedStream::Pending() const {
  std::lock_guard lock(mutex_);
  return script_.size();
}

std::chrono::milliseconds ScriptedStream::Elapsed() const {
  std::lock_guard lock(mutex_);
  return elapsed_;
}

void ScriptedStream::ClearRecord() {
  std::lock_guard lock(mutex_);
  events_.clear();
}

int ScriptedStream::Read(std::span<std::uint8_t> dst) {
  std::lock_guard lock(mutex_);
  Event event{EventKind::Read, {}, {}, -1};
  if (cancelled_) {
    events_.push_back(event);
    return -1;
  }
  if (script_.empty() || (!script_.front().fails && script_.front().bytes.empty())) {
    if (!script_.empty()) {
      script_.pop_front();
    }
    elapsed_ += kSilentReadBase + kSilentReadPerByte * static_cast<int>(dst.size());
    event.result = 0;
    events_.push_back(event);
    return 0;
  }
  Entry& entry = script_.front();
  if (entry.fails) {
    script_.pop_front();
    events_.push_back(event);
    return -1;
  }
  const std::size_t n = std::min(dst.size(), entry.bytes.size());
  std::copy_n(entry.bytes.begin(), n, dst.begin());
  event.bytes.assign(entry.bytes.begin(), entry.bytes.begin() + static_cast<std::ptrdiff_t>(n));
  entry.bytes.erase(entry.bytes.begin(), entry.bytes.begin() + static_cast<std::ptrdiff_t>(n));
  if (entry.bytes.empty()) {
    script_.pop_front();
  }
  elapsed_ += kAnsweredRead;
  event.result = static_cast<int>(n);
  events_.push_back(event);
  return static_cast<int>(n);
}

bool ScriptedStream::Write(std::span<const std::uint8_t> src) {
  Responder responder;
  {
    std::lock_guard lock(mutex_);
    events_.push_back(Event{EventKind::Write, Bytes(src.begin(), src.end()), {}, 0});
    if (cancelled_ || writeFails_) {
      return false;
    }
    responder = responder_;
  }
  // Outside the lock: the responder queues its reply through the public calls.
  if (responder) {
    responder(*this, src);
  }
  return true;
}

bool ScriptedStream::Purge() {
  std::lock_guard lock(mutex_);
  events_.push_back(Event{EventKind::Purge, {}, {}, 0});
  return !purgeFails_;
}

bool ScriptedStream::Pause(std::chrono::milliseconds duration) {
  std::lock_guard lock(mutex_);
  events_.push_back(Event{EventKind::Pause, {}, duration, 0});
  if (cancelled_) {
    return false;
  }
  elapsed_ += duration;
  return true;
}

void ScriptedStream::Cancel() {
  cancelled_ = true;
}

void ScriptedStream::Resume() {
  cancelled_ = false;
}

}  // namespace qelvo::test_support
