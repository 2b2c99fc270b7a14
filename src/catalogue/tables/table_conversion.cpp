#include "catalogue/tables/table_conversion.h"

#include <iconv.h>

#include <cstddef>
#include <cstdint>
#include <optional>
#include <utility>

namespace qelvo::catalogue::tables {

namespace {

constexpr char kRowStart = '[';
constexpr char kEndMark = '\\';
constexpr std::uint8_t kFirstLeadByte = 0x81;
constexpr std::uint8_t kLastLeadByte = 0xFE;
constexpr std::string_view kUtf8ByteOrderMark = "\xEF\xBB\xBF";
constexpr std::string_view kLineEnd = "\r\n";

class Utf8ToGbk {
 public:
  Utf8ToGbk() : handle_(iconv_open("GBK", "UTF-8")) {}
  ~Utf8ToGbk() {
    if (ok()) {
      iconv_close(handle_);
    }
  }
  Utf8ToGbk(const Utf8ToGbk&) = delete;
  Utf8ToGbk& operator=(const Utf8ToGbk&) = delete;

  // iconv_open reports failure as (iconv_t)-1. NOLINTNEXTLINE(performance-no-int-to-ptr)
  bool ok() const { return handle_ != reinterpret_cast<iconv_t>(-1); }

  // On failure `failedAt` is the byte offset in `utf8` where conversion stopped.
  bool Convert(std::string_view utf8, std::string& gbk, std::size_t& failedAt) {
    iconv(handle_, nullptr, nullptr, nullptr, nullptr);
    // GBK never takes more bytes than UTF-8 for the same character.
    std::string out(utf8.size() + 8, '\0');
    char* in = const_cast<char*>(utf8.data());
    std::size_t inLeft = utf8.size();
    char* outPtr = out.data();
    std::size_t outLeft = out.size();
    const std::size_t irreversible = iconv(handle_, &in, &inLeft, &outPtr, &outLeft);
    // Without //TRANSLIT glibc refuses what GBK lacks; a non-zero count would still mean
    // a character was replaced, which is as bad.
    if (irreversible != 0 || inLeft != 0) {
      failedAt = utf8.size() - inLeft;
      return false;
    }
    out.resize(out.size() - outLeft);
    gbk = std::move(out);
    return true;
  }

 private:
  iconv_t handle_;
};

// The parser reads the table byte by byte, so a second byte equal to a marker would open a
// row or end the table in the middle of a character.
std::optional<std::string> FindMarkerTrailByte(std::string_view gbk) {
  for (std::size_t i = 0; i + 1 < gbk.size(); ++i) {
    const auto lead = static_cast<std::uint8_t>(gbk[i]);
    if (lead < kFirstLeadByte || lead > kLastLeadByte) {
      continue;
    }
    const char trail = gbk[++i];
    if (trail == kRowStart) {
      return "a character encodes in GBK with the second byte '[', which would start a new "
             "row; use another character";
    }
    if (trail == kEndMark) {
      return "a character encodes in GBK with the second byte '\\', which would end the "
             "table; use another character";
    }
  }
  return std::nullopt;
}

// What is wrong with one converted line before the end mark, if anything.
std::optional<std::string> FindMarkerMisuse(std::string_view gbk, bool& isEndMark) {
  if (auto trail = FindMarkerTrailByte(gbk)) {
    return trail;
  }
  // From here on every '[' and '\' byte is the ASCII character itself.
  const std::size_t rowStart = gbk.find(kRowStart);
  if (rowStart != std::string_view::npos &&
      gbk.find(kRowStart, rowStart + 1) != std::string_view::npos) {
    return "a second '[' on the line would start a new row and drop this one";
  }
  if (gbk.find(kEndMark) != std::string_view::npos) {
    if (gbk != std::string_view(&kEndMark, 1)) {
      return "the end mark '\\' must stand alone on its line";
    }
    isEndMark = true;
  }
  return std::nullopt;
}

}  // namespace

TableConversion ConvertTableToGbk(std::string_view utf8, std::string_view sourceName) {
  TableConversion result;
  const std::string name(sourceName);
  auto fail = [&](std::size_t line, const std::string& what) {
    result.ok = false;
    result.gbk.clear();
    result.error = name + ":" + std::to_string(line) + ": " + what;
    return result;
  };

  Utf8ToGbk converter;
  if (!converter.ok()) {
    result.error = name + ": iconv cannot convert from UTF-8 to GBK on this system";
    return result;
  }
  if (utf8.starts_with(kUtf8ByteOrderMark)) {
    return fail(1, "the table starts with a byte-order mark; save it without one");
  }

  bool endMarkSeen = false;
  std::size_t lineNumber = 0;
  std::size_t start = 0;
  while (start < utf8.size()) {
    ++lineNumber;
    const std::size_t lf = utf8.find('\n', start);
    const bool hasLineEnd = lf != std::string_view::npos;
    std::string_view line = utf8.substr(start, hasLineEnd ? lf - start : std::string_view::npos);
    start = hasLineEnd ? lf + 1 : utf8.size();
    if (line.ends_with('\r')) {
      line.remove_suffix(1);
    }

    std::string converted;
    if (endMarkSeen) {
      if (line.find_first_not_of(" \t") != std::string_view::npos) {
        return fail(lineNumber, "text after the end mark '\\' would never be read");
      }
      converted = line;
    } else {
      std::size_t failedAt = 0;
      if (!converter.Convert(line, converted, failedAt)) {
        return fail(lineNumber, "column " + std::to_string(failedAt + 1) +
                                    ": the text is not UTF-8 or has no exact GBK form");
      }
      if (auto misuse = FindMarkerMisuse(converted, endMarkSeen)) {
        return fail(lineNumber, *misuse);
      }
    }
    result.gbk += converted;
    if (hasLineEnd) {
      result.gbk += kLineEnd;
    }
  }
  if (!endMarkSeen) {
    result.gbk.clear();
    result.error = name + ": the table has no end mark '\\'";
    return result;
  }
  result.ok = true;
  return result;
}

}  // namespace qelvo::catalogue::tables
