#include "image_files.h"

#include <algorithm>
#include <array>
#include <string_view>

namespace qelvo::pictures {

namespace {

void PutLittle16(std::vector<std::uint8_t>& out, std::uint32_t v) {
  out.push_back(v & 0xFF);
  out.push_back((v >> 8) & 0xFF);
}
void PutLittle32(std::vector<std::uint8_t>& out, std::uint32_t v) {
  PutLittle16(out, v & 0xFFFF);
  PutLittle16(out, v >> 16);
}
void PutBig32(std::vector<std::uint8_t>& out, std::uint32_t v) {
  for (int shift = 24; shift >= 0; shift -= 8)
    out.push_back((v >> shift) & 0xFF);
}

// BMP: file header, BITMAPINFOHEADER, pixel rows padded to four bytes.
constexpr std::uint32_t kBmpFileHeaderSize = 14;
constexpr std::uint32_t kBmpInfoHeaderSize = 40;
constexpr std::uint32_t kBmpPixelsPerMetre = 3780;  // 96 dpi
constexpr std::uint16_t kBmpBitsPerPixel = 24;
constexpr std::uint32_t kBmpUncompressed = 0;  // BI_RGB

// PNG.
constexpr std::array<std::uint8_t, 8> kPngSignature = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
constexpr std::uint8_t kPngBitDepth = 8;
constexpr std::uint8_t kPngColourRgba = 6;
constexpr std::uint8_t kPngFilterNone = 0;
constexpr std::size_t kStoredBlockMax = 65535;
constexpr std::uint8_t kZlibCmf = 0x78;  // deflate, 32 KiB window
constexpr std::uint8_t kZlibFlg = 0x01;  // no dictionary, (CMF * 256 + FLG) % 31 == 0

std::uint32_t Crc32(std::span<const std::uint8_t> bytes, std::uint32_t crc = 0) {
  static const auto kTable = [] {
    std::array<std::uint32_t, 256> table{};
    for (std::uint32_t n = 0; n < 256; ++n) {
      std::uint32_t c = n;
      for (int k = 0; k < 8; ++k)
        c = (c & 1) != 0 ? 0xEDB88320u ^ (c >> 1) : c >> 1;
      table[n] = c;
    }
    return table;
  }();
  crc = ~crc;
  for (std::uint8_t b : bytes)
    crc = kTable[(crc ^ b) & 0xFF] ^ (crc >> 8);
  return ~crc;
}

std::uint32_t Adler32(std::span<const std::uint8_t> bytes) {
  constexpr std::uint32_t kModulus = 65521;
  std::uint32_t a = 1;
  std::uint32_t b = 0;
  for (std::uint8_t byte : bytes) {
    a = (a + byte) % kModulus;
    b = (b + a) % kModulus;
  }
  return (b << 16) | a;
}

void PutChunk(std::vector<std::uint8_t>& out, std::string_view type,
              std::span<const std::uint8_t> data) {
  PutBig32(out, static_cast<std::uint32_t>(data.size()));
  const std::size_t typeAt = out.size();
  out.insert(out.end(), type.begin(), type.end());
  out.insert(out.end(), data.begin(), data.end());
  PutBig32(out, Crc32(std::span(out).subspan(typeAt)));
}

std::vector<std::uint8_t> ZlibStored(std::span<const std::uint8_t> raw) {
  std::vector<std::uint8_t> z = {kZlibCmf, kZlibFlg};
  std::size_t at = 0;
  do {
    const std::size_t n = std::min(kStoredBlockMax, raw.size() - at);
    const bool last = at + n == raw.size();
    z.push_back(last ? 1 : 0);  // BFINAL, BTYPE 00 (stored)
    PutLittle16(z, static_cast<std::uint32_t>(n));
    PutLittle16(z, static_cast<std::uint32_t>(~n & 0xFFFF));
    z.insert(z.end(), raw.begin() + static_cast<std::ptrdiff_t>(at),
             raw.begin() + static_cast<std::ptrdiff_t>(at + n));
    at += n;
  } while (at < raw.size());
  PutBig32(z, Adler32(raw));
  return z;
}

}  // namespace

std::vector<std::uint8_t> EncodeBmp24(const Canvas& canvas) {
  const auto w = static_cast<std::uint32_t>(canvas.width());
  const auto h = static_cast<std::uint32_t>(canvas.height());
  const std::uint32_t rowBytes = (w * 3 + 3) / 4 * 4;
  const std::uint32_t pixelBytes = rowBytes * h;
  const std::uint32_t pixelOffset = kBmpFileHeaderSize + kBmpInfoHeaderSize;

  std::vector<std::uint8_t> out;
  out.reserve(pixelOffset + pixelBytes);
  out.push_back('B');
  out.push_back('M');
  PutLittle32(out, pixelOffset + pixelBytes);
  PutLittle32(out, 0);  // reserved
  PutLittle32(out, pixelOffset);

  PutLittle32(out, kBmpInfoHeaderSize);
  PutLittle32(out, w);
  PutLittle32(out, h);  // positive: bottom-up
  PutLittle16(out, 1);  // planes
  PutLittle16(out, kBmpBitsPerPixel);
  PutLittle32(out, kBmpUncompressed);
  PutLittle32(out, pixelBytes);
  PutLittle32(out, kBmpPixelsPerMetre);
  PutLittle32(out, kBmpPixelsPerMetre);
  PutLittle32(out, 0);  // colours used
  PutLittle32(out, 0);  // important colours

  for (int y = canvas.height() - 1; y >= 0; --y) {
    std::uint32_t written = 0;
    for (int x = 0; x < canvas.width(); ++x) {
      const Colour c = canvas.Pixel(x, y);
      out.push_back(c.b);
      out.push_back(c.g);
      out.push_back(c.r);
      written += 3;
    }
    for (; written < rowBytes; ++written)
      out.push_back(0);
  }
  return out;
}

std::vector<std::uint8_t> EncodePngRgba(const Canvas& canvas) {
  std::vector<std::uint8_t> out(kPngSignature.begin(), kPngSignature.end());

  std::vector<std::uint8_t> header;
  PutBig32(header, static_cast<std::uint32_t>(canvas.width()));
  PutBig32(header, static_cast<std::uint32_t>(canvas.height()));
  header.insert(header.end(), {kPngBitDepth, kPngColourRgba, 0, 0, 0});
  PutChunk(out, "IHDR", header);

  std::vector<std::uint8_t> raw;
  raw.reserve(static_cast<std::size_t>(canvas.height()) * (1 + 4 * canvas.width()));
  for (int y = 0; y < canvas.height(); ++y) {
    raw.push_back(kPngFilterNone);
    for (int x = 0; x < canvas.width(); ++x) {
      const Colour c = canvas.Pixel(x, y);
      raw.insert(raw.end(), {c.r, c.g, c.b, c.a});
    }
  }
  PutChunk(out, "IDAT", ZlibStored(raw));
  PutChunk(out, "IEND", {});
  return out;
}

}  // namespace qelvo::pictures
