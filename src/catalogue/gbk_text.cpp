#include <iconv.h>

#include <algorithm>
#include <cerrno>
#include <string>
#include <string_view>

#include "catalogue/parser.h"

namespace qelvo::catalogue {

namespace {

constexpr char16_t kReplacement = u'\uFFFD';
constexpr unsigned char kFirstNonAscii = 0x80;

class GbkDecoder {
 public:
  GbkDecoder() : cd_(iconv_open("UTF-16LE", "GBK")) {}
  ~GbkDecoder() {
    if (Ready())
      iconv_close(cd_);
  }
  GbkDecoder(const GbkDecoder&) = delete;
  GbkDecoder& operator=(const GbkDecoder&) = delete;

  // iconv_open reports failure as (iconv_t)-1. NOLINTNEXTLINE(performance-no-int-to-ptr)
  bool Ready() const { return cd_ != reinterpret_cast<iconv_t>(-1); }

  std::u16string Decode(std::string_view gbk) {
    std::u16string out;
    out.reserve(gbk.size());
    char* in = const_cast<char*>(gbk.data());
    std::size_t inLeft = gbk.size();
    while (inLeft > 0) {
      char buffer[256];
      char* outAt = buffer;
      std::size_t outLeft = sizeof buffer;
      const std::size_t rc = iconv(cd_, &in, &inLeft, &outAt, &outLeft);
      AppendUtf16Le(out, buffer, static_cast<std::size_t>(outAt - buffer));
      if (rc != static_cast<std::size_t>(-1))
        break;
      if (errno == E2BIG)
        continue;
      // An invalid or cut-off sequence: one replacement character per byte that does not
      // decode, then carry on with the next byte.
      out.push_back(kReplacement);
      ++in;
      --inLeft;
      iconv(cd_, nullptr, nullptr, nullptr, nullptr);
    }
    return out;
  }

 private:
  static void AppendUtf16Le(std::u16string& out, const char* bytes, std::size_t count) {
    for (std::size_t i = 0; i + 1 < count; i += 2) {
      const auto low = static_cast<unsigned char>(bytes[i]);
      const auto high = static_cast<unsigned char>(bytes[i + 1]);
      out.push_back(static_cast<char16_t>(low | (high << 8)));
    }
  }

  iconv_t cd_;
};

bool IsAscii(std::string_view text) {
  return std::ranges::all_of(text,
                             [](char c) { return static_cast<unsigned char>(c) < kFirstNonAscii; });
}

std::u16string AsciiOnly(std::string_view text) {
  std::u16string out;
  out.reserve(text.size());
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    out.push_back(byte < kFirstNonAscii ? static_cast<char16_t>(byte) : kReplacement);
  }
  return out;
}

}  // namespace

std::u16string GbkToUtf16(std::string_view gbk) {
  // Most captions are plain English; they need no converter.
  if (IsAscii(gbk))
    return AsciiOnly(gbk);
  GbkDecoder decoder;
  // Without the GBK converter (a system without gconv modules) the Chinese texts cannot be
  // shown, but the English ones still can.
  if (!decoder.Ready())
    return AsciiOnly(gbk);
  return decoder.Decode(gbk);
}

}  // namespace qelvo::catalogue
