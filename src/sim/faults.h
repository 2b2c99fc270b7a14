#pragma once

#include <chrono>
#include <cstdint>
#include <optional>

namespace qelvo::sim {

// Ways the simulated controller misbehaves; all off by default.
//
// The reply faults (silent .. otherModule) apply to the requests in scope: those whose
// command is `onlyCommand` (any command when unset), numbered 1, 2, ... from the moment the
// knobs were set, from number `afterRequests` + 1 on, and for `requestCount` requests
// (every later one when 0). Only the 5th Write block: onlyCommand 0xF3, afterRequests 4,
// requestCount 1.
struct Faults {
  // The controller does not hear the request: no reply and nothing done (a Write block is
  // not staged, a Commit stores nothing).
  bool silent = false;
  // The request is carried out; its reply is spoilt as follows.
  bool badChecksum = false;
  bool wrongCommand = false;  // another command byte, with a checksum that fits it
  bool split = false;         // sent in pieces a few milliseconds apart
  bool shortReply = false;    // half the payload, with a checksum that fits it
  std::chrono::milliseconds delay{0};
  // A Read block at address 0 reports another module name in bytes 0..7, once the first
  // `otherModuleAfterReads` such reads have been answered truly since the controller
  // started: as if it had been swapped after the program read it.
  bool otherModule = false;
  int otherModuleAfterReads = 1;

  std::optional<std::uint8_t> onlyCommand;
  int afterRequests = 0;
  int requestCount = 0;

  // The port vanishes once `vanishAfterWriteBlocks` Write blocks (counted from the moment the
  // knobs were set) have been answered, as the next request starts to arrive; it comes back
  // after `vanishFor` (0: only when asked to). Fires once, then reads 0.
  int vanishAfterWriteBlocks = 0;
  std::chrono::milliseconds vanishFor{0};

  // The Nth Write block after each Prepare (1-based; 0: none) is acknowledged but not staged.
  int dropWriteBlock = 0;
};

}  // namespace qelvo::sim
