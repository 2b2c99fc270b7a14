#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <mutex>
#include <optional>
#include <span>
#include <vector>

#include "link/commands.h"
#include "sim/faults.h"
#include "sim/identity.h"
#include "sim/line_timing.h"
#include "sim/live_data.h"
#include "sim/request_log.h"

namespace qelvo::sim {

// The controller's side of the serial line. Bytes that arrive are framed into requests
// (command, length, payload, checksum); a request with a wrong checksum is ignored, as real
// controllers stay silent. Each request is answered with a reply frame whose bytes fall due
// at the times a controller at 19200 baud would send them (paced), or at once (unpaced).
//
// Two configuration blocks: Read block reads the stored one, Write block writes the staged
// one, Commit stores the staged one, and Prepare starts a fresh staged copy of the stored
// one, so that a write broken off half-way stores nothing.
//
// Every method may be called from any thread.
class SimulatedController {
 public:
  explicit SimulatedController(const Identity& identity = {}, std::uint32_t seed = 1,
                               Clock::time_point start = Clock::now());

  const Identity& identity() const { return identity_; }

  void SetPaced(bool paced);
  bool paced() const;
  // Sets every knob at once; the scope and write-block counts start again from here.
  void SetFaults(const Faults& faults);
  Faults faults() const;

  link::CalibrationImage StoredBlock() const;
  link::CalibrationImage StagedBlock() const;
  // Replaces the stored block, and the staged copy with it.
  void SetStoredBlock(const link::CalibrationImage& block);

  void SetZeroPointCentres(const link::ZeroPoints& centres);
  void PinMonitorByte(std::size_t offset, std::uint8_t value);
  void PinFaultWord(std::uint16_t word);
  void UnpinMonitor();
  // The live data as the Monitor blocks would report it at `now`.
  link::MonitorBuffer MonitorAt(Clock::time_point now) const;

  std::vector<RequestRecord> RequestLog() const;
  void ClearRequestLog();

  // Bytes that arrived on the line at `now`.
  void Receive(std::span<const std::uint8_t> bytes, Clock::time_point now);
  // When the next reply byte falls due; empty when nothing is waiting.
  std::optional<Clock::time_point> NextOutputDue() const;
  // Moves the reply bytes due by `now` into `out`, as many as fit; returns how many.
  std::size_t TakeOutput(Clock::time_point now, std::span<std::uint8_t> out);
  // True once after the vanish fault has fired: the port must go now.
  bool TakeVanish();
  // The line was replaced: a request half received and reply bytes not yet sent are gone.
  void ResetLine();

 private:
  struct Reply {
    link::PacketBuffer bytes{};
    std::size_t size = 0;
  };
  struct DueByte {
    Clock::time_point due;
    std::uint8_t byte;
  };

  void HandleRequest(Clock::time_point lastByte);
  bool InScope(std::uint8_t command);
  // Carries the request out; false when it gets no reply.
  bool Execute(const RequestRecord& request, Clock::time_point now, bool inScope, Reply& reply);
  void Schedule(const Reply& reply, Clock::time_point ready, bool split);

  const Identity identity_;
  const Clock::time_point start_;
  mutable std::mutex mutex_;

  bool paced_ = false;
  Faults faults_;
  int requestsInScope_ = 0;
  int writeBlocksSinceFaults_ = 0;
  int writeBlocksSincePrepare_ = 0;
  int readsAtZero_ = 0;
  bool vanishArmed_ = false;
  bool vanishNow_ = false;

  link::CalibrationImage stored_;
  link::CalibrationImage staged_;
  LiveData live_;
  ZeroPointSource zeroPoints_;

  link::PacketBuffer incoming_{};
  std::size_t incomingSize_ = 0;
  Clock::time_point incomingFirst_;
  Clock::time_point incomingLast_;

  std::deque<DueByte> outgoing_;
  Clock::time_point lineFreeAt_;
  std::deque<RequestRecord> log_;
};

}  // namespace qelvo::sim
