#include "app/resources/pictures.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <span>
#include <vector>

namespace qelvo::app {
namespace {

std::uint32_t Little(std::span<const std::uint8_t> b, std::size_t at, int bytes) {
  std::uint32_t v = 0;
  for (int i = bytes - 1; i >= 0; --i)
    v = v << 8 | b[at + i];
  return v;
}
std::uint32_t Big32(std::span<const std::uint8_t> b, std::size_t at) {
  return std::uint32_t{b[at]} << 24 | b[at + 1] << 16 | b[at + 2] << 8 | b[at + 3];
}

TEST(Pictures, BitmapsAreUncompressed24BitBottomUp) {
  const struct {
    const char* name;
    std::span<const std::uint8_t> bytes;
    std::int32_t width, height;
  } kBitmaps[] = {{"banner 149", BannerPicture(), 863, 105},
                  {"side picture 150", SidePicture(), 150, 519}};
  for (const auto& bmp : kBitmaps) {
    SCOPED_TRACE(bmp.name);
    const auto b = bmp.bytes;
    ASSERT_GT(b.size(), 54u);
    EXPECT_EQ(b[0], 'B');
    EXPECT_EQ(b[1], 'M');
    EXPECT_EQ(Little(b, 2, 4), b.size());
    const std::uint32_t pixelsAt = Little(b, 10, 4);
    EXPECT_EQ(Little(b, 14, 4), 40u);  // BITMAPINFOHEADER
    EXPECT_EQ(static_cast<std::int32_t>(Little(b, 18, 4)), bmp.width);
    // A positive height is what stores the rows bottom-up.
    EXPECT_EQ(static_cast<std::int32_t>(Little(b, 22, 4)), bmp.height);
    EXPECT_EQ(Little(b, 26, 2), 1u);
    EXPECT_EQ(Little(b, 28, 2), 24u);
    EXPECT_EQ(Little(b, 30, 4), 0u);  // BI_RGB
    const std::size_t rowBytes = (bmp.width * 3 + 3) / 4 * 4;
    EXPECT_EQ(b.size() - pixelsAt, rowBytes * bmp.height);
  }
}

// Undoes the stored-block zlib stream the generator writes.
std::vector<std::uint8_t> Inflate(std::span<const std::uint8_t> z) {
  std::vector<std::uint8_t> out;
  std::size_t at = 2;
  for (;;) {
    const bool last = z[at] & 1;
    EXPECT_EQ(z[at] & 6, 0) << "only stored blocks";
    const std::size_t n = Little(z, at + 1, 2);
    out.insert(out.end(), z.begin() + at + 5, z.begin() + at + 5 + n);
    at += 5 + n;
    if (last)
      break;
  }
  return out;
}

TEST(Pictures, IconIs128SquareWithAlpha) {
  const auto b = AppIconPicture();
  const std::uint8_t kSignature[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  ASSERT_GT(b.size(), 33u);
  ASSERT_TRUE(std::equal(std::begin(kSignature), std::end(kSignature), b.begin()));
  EXPECT_EQ(std::string(b.begin() + 12, b.begin() + 16), "IHDR");
  EXPECT_EQ(Big32(b, 16), 128u);
  EXPECT_EQ(Big32(b, 20), 128u);
  EXPECT_EQ(b[24], 8);  // bits per channel
  EXPECT_EQ(b[25], 6);  // RGBA

  const std::size_t idatAt = 8 + 12 + 13;
  ASSERT_EQ(std::string(b.begin() + idatAt + 4, b.begin() + idatAt + 8), "IDAT");
  const auto pixels = Inflate(b.subspan(idatAt + 8, Big32(b, idatAt)));
  constexpr std::size_t kRow = 1 + 128 * 4;
  ASSERT_EQ(pixels.size(), 128 * kRow);
  auto alpha = [&](int x, int y) { return pixels[y * kRow + 1 + x * 4 + 3]; };
  EXPECT_EQ(alpha(0, 0), 0) << "corners are see-through";
  EXPECT_EQ(alpha(64, 64), 255) << "the logo is opaque";
}

}  // namespace
}  // namespace qelvo::app
