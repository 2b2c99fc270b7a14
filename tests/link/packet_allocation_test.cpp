#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>

#include "link/packet.h"

// Counts every allocation of this test program. The replacement pairs malloc with free on
// purpose, which GCC cannot see through.
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"

namespace {
std::atomic<long> allocations{0};
}  // namespace

void* operator new(std::size_t size) {
  ++allocations;
  if (void* p = std::malloc(size == 0 ? 1 : size)) {
    return p;
  }
  throw std::bad_alloc();
}
void operator delete(void* p) noexcept {
  std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
  std::free(p);
}

namespace qelvo::link {
namespace {

// Answers every request with the same short frame, in two reads; records nothing.
class EchoStream final : public ByteStream {
 public:
  int Read(std::span<std::uint8_t> dst) override {
    const std::uint8_t frame[] = {0xF1, 0x01, 0x07, 0xF9};
    const std::size_t from = half_ ? 2 : 0;
    half_ = !half_;
    std::copy(frame + from, frame + from + 2, dst.begin());
    return 2;
  }
  bool Write(std::span<const std::uint8_t>) override { return true; }
  bool Purge() override { return true; }
  bool Pause(std::chrono::milliseconds) override { return true; }
  void Cancel() override {}
  void Resume() override {}

 private:
  bool half_ = false;
};

TEST(PacketAllocationTest, AnExchangeAllocatesNothing) {
  EchoStream stream;
  Link link;
  link.port = &stream;
  int traced = 0;
  link.trace = [&traced](TraceDirection, std::span<const std::uint8_t>,
                         std::chrono::steady_clock::time_point) { ++traced; };

  const long before = allocations;
  for (int i = 0; i < 100; ++i) {
    PutRequest(link, 0xF1);
    SendPacket(link);
    ASSERT_TRUE(ReceivePacket(link));
  }
  EXPECT_EQ(allocations - before, 0);
  EXPECT_EQ(traced, 200);
}

}  // namespace
}  // namespace qelvo::link
