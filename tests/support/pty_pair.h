#pragma once

#include <chrono>
#include <cstdint>
#include <memory>
#include <span>
#include <string>

namespace qelvo::test_support {

// A pseudo-terminal for tests: the test plays the device on the master side, the code under
// test opens path() like any serial port. Both ends close when it goes.
class PtyPair {
 public:
  // linkPath: when given, a symlink to the slave is made there and path() names it; it is
  // removed again unless it was pointed elsewhere meanwhile. nullptr when openpty failed.
  static std::unique_ptr<PtyPair> Open(const std::string& linkPath = {});
  ~PtyPair();
  PtyPair(const PtyPair&) = delete;
  PtyPair& operator=(const PtyPair&) = delete;

  // What the code under test opens: the symlink if one was asked for, else the slave name.
  const std::string& path() const;
  const std::string& slaveName() const { return slaveName_; }
  int masterFd() const { return master_; }

  // Writes all bytes to the master side; false on failure.
  bool WriteMaster(std::span<const std::uint8_t> bytes);
  // Reads what the master side gets within timeout: returns when dst is full or nothing more
  // came for `quiet` after a byte. -1 on failure.
  int ReadMaster(std::span<std::uint8_t> dst, std::chrono::milliseconds timeout,
                 std::chrono::milliseconds quiet = std::chrono::milliseconds(20));
  // Hangs the device up, as a pulled USB adapter does: the slave then reports POLLHUP/EIO.
  void CloseMaster();
  // The pair holds a slave descriptor of its own so the master does not see a hang-up before
  // the code under test opens the slave; this lets it go.
  void CloseSlave();

 private:
  PtyPair() = default;
  int master_ = -1;
  int slave_ = -1;
  std::string slaveName_;
  std::string linkPath_;
};

}  // namespace qelvo::test_support
