#pragma once

#include <memory>
#include <string>

#include "link/byte_stream.h"

namespace qelvo::link {

// Which configuration step failed on a port (for message 147).
struct ConfigureResult {
  bool queues = true;  // no POSIX counterpart to the 512-byte queue request; always true
  bool lineSettings = true;
  bool timeouts = true;
  bool purge = true;
  bool ok() const { return queues && lineSettings && timeouts && purge; }
};

// A POSIX serial port held exclusively, raw, 19200 8N1. Read returns when 19 bytes have
// arrived, 20 ms after the last byte once one has, or 145 ms after the call. Writes give up
// after 20 ms per byte + 50 ms. A port whose device vanished fails at once and is closed;
// the next operation tries to reopen the same path with the same settings.
class SerialPort final : public ByteStream {
 public:
  // Opens the device exclusively; nullptr when it cannot be opened (absent or held).
  static std::unique_ptr<SerialPort> Open(const std::string& path);
  ~SerialPort() override;
  SerialPort(const SerialPort&) = delete;
  SerialPort& operator=(const SerialPort&) = delete;

  // Queue sizes, the four line settings, time-outs, purge.
  ConfigureResult Configure();
  // Closes and opens the same path again, exclusively; the settings are Configure()'s job.
  // False when the reopen failed.
  bool Reopen();

  const std::string& path() const { return path_; }
  bool IsOpen() const;

  int Read(std::span<std::uint8_t> dst) override;
  bool Write(std::span<const std::uint8_t> src) override;
  bool Purge() override;
  bool Pause(std::chrono::milliseconds duration) override;
  void Cancel() override;
  void Resume() override;

 private:
  struct State;
  explicit SerialPort(std::unique_ptr<State> state, std::string path);
  std::unique_ptr<State> state_;
  std::string path_;
};

}  // namespace qelvo::link
