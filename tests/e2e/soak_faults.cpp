#include "e2e/soak_faults.h"

#include <cstdint>
#include <cstdio>
#include <vector>

#include "link/commands.h"

namespace qelvo::e2e {

namespace {

namespace command = link::command;
using std::chrono::milliseconds;

// A command an operation sends, and how many of it one attempt sends.
struct Target {
  std::uint8_t command;
  int perAttempt;
};

int Between(std::mt19937& random, int low, int high) {
  return std::uniform_int_distribution<int>(low, high)(random);
}

std::string Hex(std::uint8_t byte) {
  char text[8];
  std::snprintf(text, sizeof text, "%02X", byte);
  return text;
}

std::vector<Target> TargetsOf(Exchanges exchanges) {
  switch (exchanges) {
    case Exchanges::kRead:
      return {{command::kPrepare, 2}, {command::kReadBlock, 32}};
    case Exchanges::kWrite:
      // The model check's two Prepares and Read block, then the write's own Prepare.
      return {{command::kPrepare, 3},
              {command::kReadBlock, 1},
              {command::kWriteBlock, 40},
              {command::kCommit, 1}};
    case Exchanges::kMonitor:
      return {{command::kMonitorBlock1, 10},
              {command::kMonitorBlock2, 10},
              {command::kMonitorBlock3, 10}};
  }
  return {};
}

// Spoils the replies in scope one way; returns what it did.
std::string SpoilReplies(std::mt19937& random, sim::Faults& faults) {
  switch (Between(random, 0, 6)) {
    case 0:
      faults.silent = true;
      return "silent";
    case 1:
      faults.badChecksum = true;
      return "bad checksum";
    case 2:
      faults.wrongCommand = true;
      return "wrong command byte";
    case 3:
      faults.split = true;
      return "split";
    case 4:
      faults.shortReply = true;
      return "short reply";
    case 5:
      // Well inside the 1.5 s a receive waits.
      faults.delay = milliseconds(Between(random, 50, 900));
      return "slow, in time (" + std::to_string(faults.delay.count()) + " ms)";
    default:
      faults.delay = milliseconds(Between(random, 1700, 2600));
      return "too slow (" + std::to_string(faults.delay.count()) + " ms)";
  }
}

}  // namespace

SoakFault RandomFault(std::mt19937& random, Exchanges exchanges) {
  SoakFault fault;
  // Now and then the port goes away instead, mid-write or as the operation starts.
  if (Between(random, 0, 9) == 0) {
    if (exchanges == Exchanges::kWrite) {
      fault.faults.vanishAfterWriteBlocks = Between(random, 1, 39);
      fault.faults.vanishFor = milliseconds(Between(random, 100, 1500));
      fault.what = "port vanishes after " + std::to_string(fault.faults.vanishAfterWriteBlocks) +
                   " Write blocks for " + std::to_string(fault.faults.vanishFor.count()) + " ms";
    } else {
      fault.vanishNow = milliseconds(Between(random, 100, 1500));
      fault.what = "port away for " + std::to_string(fault.vanishNow.count()) + " ms";
    }
    return fault;
  }
  // Another module name at the model check, as if the controller had been swapped.
  if (exchanges == Exchanges::kWrite && Between(random, 0, 19) == 0) {
    fault.faults.otherModule = true;
    fault.faults.onlyCommand = command::kReadBlock;
    fault.what = "another module name";
    return fault;
  }

  const std::vector<Target> targets = TargetsOf(exchanges);
  const Target& target = targets[Between(random, 0, static_cast<int>(targets.size()) - 1)];
  fault.faults.onlyCommand = target.command;
  fault.faults.afterRequests = Between(random, 0, target.perAttempt - 1);
  // Mostly one or two requests; sometimes every one from there on.
  fault.faults.requestCount = Between(random, 0, 4) == 0 ? 0 : Between(random, 1, 2);
  fault.what = SpoilReplies(random, fault.faults) + " on " + Hex(target.command) + " after " +
               std::to_string(fault.faults.afterRequests) + ", " +
               (fault.faults.requestCount == 0 ? std::string("all")
                                               : std::to_string(fault.faults.requestCount));
  return fault;
}

}  // namespace qelvo::e2e
