#include "cli/backup_file.h"

#include <algorithm>
#include <array>
#include <cstdio>

#include "catalogue/loader.h"
#include "cli/crc32.h"
#include "cli/loaded_controller.h"

namespace qelvo::cli {
namespace {

constexpr std::size_t kBytesPerLine = 16;
constexpr std::size_t kOffsetDigits = 4;
constexpr std::size_t kCrcDigits = 8;
constexpr std::string_view kCrcKey = "CRC-32";
constexpr std::string_view kUtf8ByteOrderMark = "\xEF\xBB\xBF";

constexpr std::size_t kUserNameAddress = 8;
constexpr std::size_t kUserNameSize = 4;
constexpr std::size_t kSerialNumberAddress = 12;
constexpr std::size_t kSoftwareVersionAddress = 16;
constexpr std::size_t kHexFieldSize = 4;

struct HeaderField {
  std::string_view key;
  std::string BackupHeader::*value;
};
constexpr auto kHeaderFields = std::to_array<HeaderField>({
    {"Created", &BackupHeader::created},
    {"Program", &BackupHeader::program},
    {"Module Name", &BackupHeader::moduleName},
    {"User Name", &BackupHeader::userName},
    {"Serial Number", &BackupHeader::serialNumber},
    {"Software Version", &BackupHeader::softwareVersion},
    {"Family", &BackupHeader::family},
    {"Voltage Class", &BackupHeader::voltageClass},
    {"Table", &BackupHeader::table},
});
constexpr std::size_t kModuleNameField = 2;

// Header values and comments stay one line of plain text whatever the image holds.
std::string OneLine(std::string_view text) {
  std::string line(text);
  for (char& c : line)
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F)
      c = ' ';
  return line;
}

std::string Printable(std::string_view text) {
  std::string printable(text);
  for (char& c : printable)
    if (static_cast<unsigned char>(c) < 0x20 || static_cast<unsigned char>(c) >= 0x7F)
      c = '.';
  return printable;
}

std::string HexBytes(const link::CalibrationImage& image, std::size_t address, std::size_t size) {
  std::string text;
  char cell[4];
  for (std::size_t i = address; i < address + size; ++i) {
    std::snprintf(cell, sizeof cell, "%02x", image[i]);
    text += cell;
  }
  return text;
}

std::string_view Trim(std::string_view text) {
  const auto first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos)
    return {};
  const auto last = text.find_last_not_of(" \t");
  return text.substr(first, last - first + 1);
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9')
    return c - '0';
  if (c >= 'a' && c <= 'f')
    return c - 'a' + 10;
  if (c >= 'A' && c <= 'F')
    return c - 'A' + 10;
  return -1;
}

// The value of a text of hex digits only; empty when it is not one or does not fit.
std::optional<std::uint32_t> HexNumber(std::string_view text, std::size_t digits) {
  if (text.size() != digits)
    return std::nullopt;
  std::uint32_t value = 0;
  for (char c : text) {
    const int digit = HexDigit(c);
    if (digit < 0)
      return std::nullopt;
    value = value * 16 + static_cast<std::uint32_t>(digit);
  }
  return value;
}

bool AllHexDigits(std::string_view text) {
  return !text.empty() && std::ranges::all_of(text, [](char c) { return HexDigit(c) >= 0; });
}

std::string Hex(std::uint32_t value, int digits) {
  char text[16];
  std::snprintf(text, sizeof text, "%0*X", digits, value);
  return text;
}

std::string OffsetText(std::size_t offset) {
  return Hex(static_cast<std::uint32_t>(offset), static_cast<int>(kOffsetDigits));
}

std::string AtLine(int line, std::string_view what) {
  return "line " + std::to_string(line) + ": " + std::string(what);
}

std::string MagicLine() {
  return std::string(kBackupMagic) + " " + std::to_string(kBackupFormatVersion);
}

// Splits the text into lines, a trailing CR removed from each (a file saved on Windows).
class LineReader {
 public:
  explicit LineReader(std::string_view text) : rest_(text) {}
  bool Next(std::string_view& line) {
    if (done_)
      return false;
    const auto end = rest_.find('\n');
    if (end == std::string_view::npos) {
      line = rest_;
      done_ = true;
      // The newline after the last line leaves an empty last piece that is no line.
      if (line.empty())
        return false;
    } else {
      line = rest_.substr(0, end);
      rest_.remove_prefix(end + 1);
    }
    if (!line.empty() && line.back() == '\r')
      line.remove_suffix(1);
    ++number_;
    return true;
  }
  int number() const { return number_; }

 private:
  std::string_view rest_;
  int number_ = 0;
  bool done_ = false;
};

class BackupParser {
 public:
  BackupParseResult Parse(std::string_view text);

 private:
  enum class Section { Header, Block, AfterChecksum };

  bool FirstLine(std::string_view line);
  bool HeaderLine(std::string_view key, std::string_view value);
  bool BlockLine(std::string_view offsetText, std::string_view bytesText);
  bool ChecksumLine(std::string_view value);
  bool AtEnd();
  bool Fail(std::string message) {
    error_ = std::move(message);
    return false;
  }
  bool FailHere(std::string_view what) { return Fail(AtLine(line_, what)); }

  Backup backup_;
  Section section_ = Section::Header;
  int line_ = 0;
  std::array<int, kHeaderFields.size()> fieldLine_{};
  std::array<int, link::kImageSize / kBytesPerLine> blockLine_{};
  std::size_t nextOffset_ = 0;
  int checksumLine_ = 0;
  std::string error_;
};

BackupParseResult BackupParser::Parse(std::string_view text) {
  if (text.starts_with(kUtf8ByteOrderMark))
    text.remove_prefix(kUtf8ByteOrderMark.size());
  LineReader lines(text);
  std::string_view line;
  bool ok = true;
  if (!lines.Next(line)) {
    line_ = 1;
    ok = FailHere("the file is empty, not a backup");
  } else {
    line_ = lines.number();
    ok = FirstLine(line);
  }
  while (ok && lines.Next(line)) {
    line_ = lines.number();
    const std::string_view trimmed = Trim(line);
    if (trimmed.empty() || trimmed.front() == '#')
      continue;
    const auto colon = trimmed.find(':');
    if (colon == std::string_view::npos) {
      ok = FailHere("'" + Printable(trimmed) + "' is not a header, block or checksum line");
      continue;
    }
    const std::string_view key = Trim(trimmed.substr(0, colon));
    const std::string_view value = Trim(trimmed.substr(colon + 1));
    if (key == kCrcKey) {
      ok = ChecksumLine(value);
    } else if (AllHexDigits(key)) {
      ok = BlockLine(key, value);
    } else if (section_ == Section::Header) {
      ok = HeaderLine(key, value);
    } else if (section_ == Section::Block) {
      ok = FailHere("the header line '" + Printable(key) + ":' stands inside the block");
    } else {
      ok = FailHere("only comments may follow the CRC-32 line");
    }
  }
  if (ok) {
    line_ = lines.number();
    ok = AtEnd();
  }
  BackupParseResult result;
  if (ok)
    result.backup = backup_;
  else
    result.error = error_;
  return result;
}

bool BackupParser::FirstLine(std::string_view line) {
  // Recognised exactly as StartsLikeBackup does, so no file is judged two ways.
  const std::string_view trimmed = Trim(line);
  if (!line.starts_with(kBackupMagic))
    return FailHere("not a backup: the first line must be '" + MagicLine() + "'");
  const std::string_view version = Trim(trimmed.substr(kBackupMagic.size()));
  if (version.empty())
    return FailHere("the format version is missing after " + std::string(kBackupMagic));
  if (version != std::to_string(kBackupFormatVersion))
    return FailHere("format version '" + Printable(version) +
                    "' is not one this program reads (it reads version " +
                    std::to_string(kBackupFormatVersion) + ")");
  return true;
}

bool BackupParser::HeaderLine(std::string_view key, std::string_view value) {
  for (std::size_t i = 0; i < kHeaderFields.size(); ++i) {
    if (key != kHeaderFields[i].key)
      continue;
    if (fieldLine_[i] != 0)
      return FailHere("a second " + std::string(key) + " line (the first is on line " +
                      std::to_string(fieldLine_[i]) + ")");
    fieldLine_[i] = line_;
    backup_.header.*kHeaderFields[i].value = std::string(value);
    return true;
  }
  // Keys this version does not know are notes for a person, like the comments.
  return true;
}

bool BackupParser::BlockLine(std::string_view offsetText, std::string_view bytesText) {
  if (section_ == Section::AfterChecksum)
    return FailHere("a block line after the CRC-32 line");
  section_ = Section::Block;
  const std::optional<std::uint32_t> parsed = HexNumber(offsetText, kOffsetDigits);
  if (!parsed)
    return FailHere("the offset '" + Printable(offsetText) + "' must have 4 hex digits");
  const std::size_t offset = *parsed;
  if (offset % kBytesPerLine != 0 || offset >= link::kImageSize)
    return FailHere("offset " + OffsetText(offset) +
                    " is not where a line of the 512-byte block starts (0000, 0010, ... 01F0)");
  const std::size_t index = offset / kBytesPerLine;
  if (blockLine_[index] != 0)
    return FailHere("offset " + OffsetText(offset) + " appears twice (first on line " +
                    std::to_string(blockLine_[index]) + ")");
  if (offset != nextOffset_)
    return FailHere(
        "offset " + OffsetText(offset) + " follows " +
        (nextOffset_ == 0 ? std::string("the header") : OffsetText(nextOffset_ - kBytesPerLine)) +
        ": bytes " + OffsetText(nextOffset_) + ".." + OffsetText(offset - 1) + " are missing");
  blockLine_[index] = line_;

  std::size_t count = 0;
  std::string_view rest = bytesText;
  while (!(rest = Trim(rest)).empty()) {
    const auto end = rest.find_first_of(" \t");
    const std::string_view token = rest.substr(0, end);
    rest = end == std::string_view::npos ? std::string_view{} : rest.substr(end);
    const std::optional<std::uint32_t> byte = HexNumber(token, 2);
    if (!byte)
      return FailHere("'" + Printable(token) + "' is not a hex byte");
    if (count == kBytesPerLine)
      return FailHere("more than 16 bytes on one line");
    backup_.image[offset + count++] = static_cast<std::uint8_t>(*byte);
  }
  if (count != kBytesPerLine)
    return FailHere(std::to_string(count) + " bytes where a line holds 16");
  nextOffset_ = offset + kBytesPerLine;
  return true;
}

bool BackupParser::ChecksumLine(std::string_view value) {
  if (checksumLine_ != 0)
    return FailHere("a second CRC-32 line (the first is on line " + std::to_string(checksumLine_) +
                    ")");
  if (nextOffset_ != link::kImageSize)
    return FailHere("the block stops before offset " + OffsetText(nextOffset_) + ": bytes " +
                    OffsetText(nextOffset_) + "..01FF are missing");
  checksumLine_ = line_;
  section_ = Section::AfterChecksum;
  const std::optional<std::uint32_t> stated = HexNumber(value, kCrcDigits);
  if (!stated)
    return FailHere("the CRC-32 must be 8 hex digits, not '" + Printable(value) + "'");
  const std::uint32_t actual = Crc32(backup_.image);
  if (*stated != actual)
    return FailHere("CRC-32 mismatch: the file says " + Hex(*stated, kCrcDigits) +
                    ", its 512 bytes give " + Hex(actual, kCrcDigits) +
                    ": the block was damaged or edited");
  return true;
}

bool BackupParser::AtEnd() {
  const std::string after = "the file ends after line " + std::to_string(line_);
  if (section_ == Section::Header)
    return Fail(after + " before the block: it is truncated");
  if (section_ == Section::Block && nextOffset_ != link::kImageSize)
    return Fail(after + " inside the block, before offset " + OffsetText(nextOffset_) +
                ": it is truncated");
  if (checksumLine_ == 0)
    return Fail(after + " without the CRC-32 line: it is truncated");
  if (fieldLine_[kModuleNameField] == 0)
    return Fail("the header has no Module Name line");
  const std::string fromBytes = ModuleNameText(backup_.image);
  if (Trim(backup_.header.moduleName) != Trim(fromBytes))
    return Fail(AtLine(fieldLine_[kModuleNameField],
                       "Module Name '" + Printable(backup_.header.moduleName) +
                           "' does not match the block's bytes 0..7, '" + fromBytes + "'"));
  return true;
}

}  // namespace

BackupHeader DescribeImage(const link::CalibrationImage& image, int tableId,
                           const std::string& created) {
  const catalogue::ControllerIdentity identity = catalogue::IdentifyController(image);
  BackupHeader header;
  header.created = OneLine(created);
  header.program = "qelvo " QELVO_VERSION;
  header.moduleName = ModuleNameText(image);
  header.userName = Printable(std::string_view(
      reinterpret_cast<const char*>(image.data() + kUserNameAddress), kUserNameSize));
  header.serialNumber = HexBytes(image, kSerialNumberAddress, kHexFieldSize);
  header.softwareVersion = HexBytes(image, kSoftwareVersionAddress, kHexFieldSize);
  header.family = Printable(identity.familyCode);
  header.voltageClass = Printable(identity.voltageClass);
  header.table = std::to_string(tableId);
  return header;
}

std::string FormatBackup(const Backup& backup, std::span<const ListedRow> rows) {
  std::string text = MagicLine() + "\n";
  text +=
      "# A configuration backup of a motor controller, made by qelvo. Only the block (the\n"
      "# hex lines) is restored; its CRC-32 must match. The rest is for reading.\n";
  for (const HeaderField& field : kHeaderFields)
    text += std::string(field.key) + ": " + OneLine(backup.header.*field.value) + "\n";
  text += "\n";
  for (std::size_t offset = 0; offset < link::kImageSize; offset += kBytesPerLine) {
    text += OffsetText(offset) + ":";
    for (std::size_t i = offset; i < offset + kBytesPerLine; ++i)
      text += " " + Hex(backup.image[i], 2);
    text += "\n";
  }
  text += std::string(kCrcKey) + ": " + Hex(Crc32(backup.image), kCrcDigits) + "\n";
  if (!rows.empty())
    text += "\n# The shown settings: page / caption = value (range)\n";
  for (const ListedRow& row : rows) {
    text += "# " + row.page + " / " + OneLine(row.caption) + " = " + OneLine(row.value);
    if (!row.flag)
      text += " (" + std::to_string(row.rangeL) + ".." + std::to_string(row.rangeH) + ")";
    text += row.editable ? "\n" : " read-only\n";
  }
  return text;
}

bool StartsLikeBackup(std::string_view text) {
  if (text.starts_with(kUtf8ByteOrderMark))
    text.remove_prefix(kUtf8ByteOrderMark.size());
  return text.starts_with(kBackupMagic);
}

BackupParseResult ParseBackup(std::string_view text) {
  return BackupParser().Parse(text);
}

}  // namespace qelvo::cli
