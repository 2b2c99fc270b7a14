#pragma once

#include <array>
#include <cstdint>
#include <mutex>

#include "link/commands.h"
#include "support/scripted_stream.h"

namespace qelvo::monitor::testing {

// Answers the three monitor requests on a scripted stream from `live`, the 48 bytes the
// controller would send now. A silent block gets no reply at all. While a worker thread
// exchanges, change it only through Update.
struct ScriptedController {
  template <class Change>
  void Update(Change change) {
    std::lock_guard lock(mutex);
    change(*this);
  }

  link::MonitorBuffer live{};
  std::array<bool, 3> silent{};
  std::uint8_t block1ReplyCommand = link::command::kMonitorBlock1;
  std::mutex mutex;

  void Attach(test_support::ScriptedStream& stream) {
    stream.SetResponder([this](test_support::ScriptedStream& s, std::span<const std::uint8_t> w) {
      std::lock_guard lock(mutex);
      if (w.empty() || w[0] < link::command::kMonitorBlock1 || w[0] > link::command::kMonitorBlock3)
        return;
      const std::size_t block = w[0] - link::command::kMonitorBlock1;
      if (silent[block])
        return;
      const std::uint8_t reply = block == 0 ? block1ReplyCommand : w[0];
      s.QueueReply(reply, std::span<const std::uint8_t>(live).subspan(16 * block, 16));
    });
  }
};

}  // namespace qelvo::monitor::testing
