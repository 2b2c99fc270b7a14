#include "cli/backup_file.h"

#include <gtest/gtest.h>

#include <ctime>
#include <functional>
#include <string>

#include "cli/backup_name.h"
#include "cli/crc32.h"
#include "cli/loaded_controller.h"
#include "cli/page_listing.h"
#include "sim/default_image.h"

namespace qelvo::cli {
namespace {

constexpr std::size_t kCurrentPercent = 37;

struct Sample {
  Backup backup;
  std::string text;
};

// A backup of the simulated controller's block, with its rows as comments.
Sample MakeSample() {
  Sample sample;
  sample.backup.image = sim::DefaultImage({});
  const TablesForImage tables = LoadTablesFor(sample.backup.image);
  sample.backup.header = DescribeImage(sample.backup.image, tables.tables->calibrationTableId,
                                       "2026-12-10 11:45:00 +0100");
  sample.text = FormatBackup(sample.backup, ListShownRows(*tables.tables, sample.backup.image));
  return sample;
}

std::string Replace(std::string text, const std::string& from, const std::string& to) {
  const auto at = text.find(from);
  EXPECT_NE(at, std::string::npos) << from;
  if (at != std::string::npos)
    text.replace(at, from.size(), to);
  return text;
}

// The text up to and with the first line that starts with `prefix`.
std::string CutAfterLine(const std::string& text, const std::string& prefix) {
  const auto at = text.find("\n" + prefix);
  return text.substr(0, text.find('\n', at + 1) + 1);
}

std::string LineStarting(const std::string& text, const std::string& prefix) {
  const auto at = text.find("\n" + prefix) + 1;
  return text.substr(at, text.find('\n', at) - at + 1);
}

std::string WithoutLine(const std::string& text, const std::string& prefix) {
  return Replace(text, LineStarting(text, prefix), "");
}

// The number of the last line that starts with `prefix`.
int LastLineNumber(const std::string& text, const std::string& prefix) {
  int number = 0, last = 0;
  std::size_t start = 0;
  while (start < text.size()) {
    ++number;
    if (text.compare(start, prefix.size(), prefix) == 0)
      last = number;
    const auto end = text.find('\n', start);
    if (end == std::string::npos)
      break;
    start = end + 1;
  }
  return last;
}

TEST(Crc32, IsTheCommonOne) {
  const std::string check = "123456789";
  EXPECT_EQ(Crc32({reinterpret_cast<const std::uint8_t*>(check.data()), check.size()}),
            0xCBF43926u);
  EXPECT_EQ(Crc32({}), 0u);
}

TEST(BackupFile, ReadsBackWhatItWrote) {
  const Sample sample = MakeSample();
  const BackupParseResult parsed = ParseBackup(sample.text);
  ASSERT_TRUE(parsed.backup) << parsed.error;
  EXPECT_EQ(parsed.backup->image, sample.backup.image);
  const BackupHeader& header = parsed.backup->header;
  EXPECT_EQ(header.created, "2026-12-10 11:45:00 +0100");
  EXPECT_EQ(header.program, "qelvo " QELVO_VERSION);
  EXPECT_EQ(header.moduleName, "AQV48S01");
  EXPECT_EQ(header.userName, "DEMO");
  EXPECT_EQ(header.serialNumber, "23110042");
  EXPECT_EQ(header.softwareVersion, "01090001");
  EXPECT_EQ(header.family, "QV");
  EXPECT_EQ(header.voltageClass, "48");
  EXPECT_EQ(header.table, "165");
  EXPECT_TRUE(sample.text.starts_with("QELVO-BACKUP 1\n"));
  EXPECT_NE(sample.text.find("\n0000: 41 51 56 34 38 53 30 31 44 45 4D 4F 23 11 00 42\n"),
            std::string::npos);
  EXPECT_NE(sample.text.find("\n# Vehicle / Current Percent = 100 (20..100)\n"), std::string::npos);
  EXPECT_NE(sample.text.find("\n# Vehicle / Module Name = AQV48S01 (0..0) read-only\n"),
            std::string::npos);
}

TEST(BackupFile, KeepsEveryByteValueAndAnOddModuleName) {
  Backup backup;
  for (std::size_t i = 0; i < backup.image.size(); ++i)
    backup.image[i] = static_cast<std::uint8_t>(i * 7);
  // A name with blanks, a newline and bytes beyond ASCII must still read back.
  const std::string name = "A \n\xC3\xA9 /  ";
  std::copy(name.begin(), name.end(), backup.image.begin());
  backup.header = DescribeImage(backup.image, 0, "now\nand then");
  const BackupParseResult parsed = ParseBackup(FormatBackup(backup, {}));
  ASSERT_TRUE(parsed.backup) << parsed.error;
  EXPECT_EQ(parsed.backup->image, backup.image);
}

TEST(BackupFile, ToleratesWhatEditorsAndPeopleDo) {
  const std::string text = MakeSample().text;
  struct Edit {
    const char* name;
    std::function<std::string(std::string)> apply;
  };
  const Edit edits[] = {
      {"windows line ends",
       [](std::string t) {
         std::string crlf;
         for (char c : t)
           crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
         return crlf;
       }},
      {"byte order mark", [](std::string t) { return "\xEF\xBB\xBF" + t; }},
      {"lower-case hex",
       [](std::string t) {
         return Replace(t, "0000: 41 51 56 34 38 53 30 31 44 45 4D 4F",
                        "0000: 41 51 56 34 38 53 30 31 44 45 4d 4f");
       }},
      {"no last newline", [](std::string t) { return t.substr(0, t.size() - 1); }},
      {"comments and blanks inside the block",
       [](std::string t) { return Replace(t, "\n0100:", "\n\n# the motor page\n0100:"); }},
      {"comments cut away", [](std::string t) { return CutAfterLine(t, "CRC-32:"); }},
      {"an unknown header line",
       [](std::string t) { return Replace(t, "Table:", "Note: spare\nTable:"); }},
      {"header notes removed",
       [](std::string t) { return WithoutLine(WithoutLine(t, "Created:"), "Table:"); }},
      {"trailing blanks stripped from the module name",
       [](std::string t) {
         return Replace(t, "Module Name: AQV48S01", "Module Name:  AQV48S01  ");
       }},
  };
  const link::CalibrationImage image = MakeSample().backup.image;
  for (const Edit& edit : edits) {
    const BackupParseResult parsed = ParseBackup(edit.apply(text));
    ASSERT_TRUE(parsed.backup) << edit.name << ": " << parsed.error;
    EXPECT_EQ(parsed.backup->image, image) << edit.name;
  }
}

struct Damage {
  const char* name;
  std::function<std::string(const std::string&)> apply;
  std::string message;
  // The line the message must name (its last line starting so); empty: the message has no
  // line, or names the given one.
  std::string offendingLine = {};
};

class DamagedBackup : public ::testing::TestWithParam<Damage> {};

TEST_P(DamagedBackup, IsRefusedSayingWhatIsWrong) {
  const std::string damaged = GetParam().apply(MakeSample().text);
  const BackupParseResult parsed = ParseBackup(damaged);
  EXPECT_FALSE(parsed.backup);
  EXPECT_NE(parsed.error.find(GetParam().message), std::string::npos) << parsed.error;
  if (!GetParam().offendingLine.empty()) {
    const int line = LastLineNumber(damaged, GetParam().offendingLine);
    EXPECT_TRUE(parsed.error.starts_with("line " + std::to_string(line) + ": ")) << parsed.error;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, DamagedBackup,
    ::testing::Values(
        Damage{"NotABackup", [](auto&) { return std::string("hello\nworld\n"); },
               "line 1: not a backup: the first line must be 'QELVO-BACKUP 1'"},
        Damage{"Empty", [](auto&) { return std::string(); }, "line 1: the file is empty"},
        Damage{"NewerFormat",
               [](auto& t) { return Replace(t, "QELVO-BACKUP 1", "QELVO-BACKUP 2"); },
               "line 1: format version '2' is not one this program reads"},
        Damage{"NoFormatVersion",
               [](auto& t) { return Replace(t, "QELVO-BACKUP 1", "QELVO-BACKUP"); },
               "line 1: the format version is missing"},
        Damage{"TruncatedInTheHeader", [](auto& t) { return CutAfterLine(t, "Family:"); },
               "before the block: it is truncated"},
        Damage{"TruncatedInTheBlock", [](auto& t) { return CutAfterLine(t, "0090:"); },
               "inside the block, before offset 00A0: it is truncated"},
        Damage{"TruncatedBeforeTheChecksum", [](auto& t) { return CutAfterLine(t, "01F0:"); },
               "without the CRC-32 line: it is truncated"},
        Damage{"CutInTheMiddleOfALine", [](auto& t) { return t.substr(0, t.find("\n0120:") + 21); },
               "5 bytes where a line holds 16", "0120:"},
        Damage{"MissingLine", [](auto& t) { return WithoutLine(t, "00F0:"); },
               "offset 0100 follows 00E0: bytes 00F0..00FF are missing", "0100:"},
        Damage{"MissingFirstLine", [](auto& t) { return WithoutLine(t, "0000:"); },
               "offset 0010 follows the header: bytes 0000..000F are missing", "0010:"},
        Damage{"DuplicatedLine",
               [](auto& t) {
                 return Replace(t, "\n0020:", "\n" + LineStarting(t, "0010:") + "0020:");
               },
               "offset 0010 appears twice (first on line 15)", "0010:"},
        Damage{"BadHexByte", [](auto& t) { return Replace(t, "0040: 3C", "0040: G1"); },
               "'G1' is not a hex byte", "0040:"},
        Damage{"ShortLine", [](auto& t) { return Replace(t, "0040: 3C ", "0040: "); },
               "15 bytes where a line holds 16", "0040:"},
        Damage{"LongLine", [](auto& t) { return Replace(t, "0040: 3C ", "0040: 3C 3C "); },
               "more than 16 bytes on one line", "0040:"},
        Damage{"OffsetOffTheGrid", [](auto& t) { return Replace(t, "\n0040:", "\n0045:"); },
               "offset 0045 is not where a line of the 512-byte block starts", "0045:"},
        Damage{"OffsetPastTheBlock", [](auto& t) { return Replace(t, "\n01F0:", "\n0200:"); },
               "offset 0200 is not where a line", "0200:"},
        Damage{"OffsetOfFiveDigits", [](auto& t) { return Replace(t, "\n0040:", "\n00040:"); },
               "the offset '00040' must have 4 hex digits", "00040:"},
        Damage{"EditedByte",
               [](auto& t) {
                 return Replace(t, "0020: 00 08 00 08 02 64 50", "0020: 00 08 00 08 02 64 51");
               },
               "CRC-32 mismatch: the file says 450C3084", "CRC-32:"},
        Damage{"EditedChecksum",
               [](auto& t) { return Replace(t, "CRC-32: 450C3084", "CRC-32: 450C3085"); },
               "its 512 bytes give 450C3084: the block was damaged or edited", "CRC-32:"},
        Damage{"ChecksumNotHex",
               [](auto& t) { return Replace(t, "CRC-32: 450C3084", "CRC-32: 450C30"); },
               "the CRC-32 must be 8 hex digits, not '450C30'", "CRC-32:"},
        Damage{"SecondChecksum", [](auto& t) { return t + "CRC-32: 450C3084\n"; },
               "a second CRC-32 line (the first is on line 46)", "CRC-32:"},
        Damage{"ChecksumBeforeTheBlock",
               [](auto& t) {
                 return Replace(WithoutLine(t, "CRC-32:"), "\n0000:", "\nCRC-32: 450C3084\n0000:");
               },
               "the block stops before offset 0000", "CRC-32:"},
        Damage{"TextAfterTheChecksum", [](auto& t) { return t + "Boost: 1\n"; },
               "only comments may follow the CRC-32 line", "Boost:"},
        Damage{"HeaderLineInTheBlock",
               [](auto& t) { return Replace(t, "\n0100:", "\nTable: 162\n0100:"); },
               "the header line 'Table:' stands inside the block", "Table: 162"},
        Damage{"StrayText", [](auto& t) { return Replace(t, "\n0100:", "\nhello\n0100:"); },
               "'hello' is not a header, block or checksum line", "hello"},
        Damage{"OtherModuleName",
               [](auto& t) { return Replace(t, "Module Name: AQV48S01", "Module Name: AQV72S01"); },
               "Module Name 'AQV72S01' does not match the block's bytes 0..7, 'AQV48S01'",
               "Module Name:"},
        Damage{"NoModuleName", [](auto& t) { return WithoutLine(t, "Module Name:"); },
               "the header has no Module Name line"},
        Damage{"ModuleNameTwice",
               [](auto& t) { return Replace(t, "Table:", "Module Name: AQV48S01\nTable:"); },
               "a second Module Name line (the first is on line 6)", "Module Name:"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(BackupFile, AnyCutBeforeTheChecksumEndsIsRefused) {
  const std::string text = MakeSample().text;
  const std::size_t checksumEnd = text.find('\n', text.find("\nCRC-32:") + 1);
  for (std::size_t size = 0; size <= text.size(); ++size) {
    const BackupParseResult parsed = ParseBackup(std::string_view(text).substr(0, size));
    if (size < checksumEnd) {
      EXPECT_FALSE(parsed.backup) << "cut at " << size;
      EXPECT_FALSE(parsed.error.empty()) << "cut at " << size;
    } else {
      ASSERT_TRUE(parsed.backup) << "cut at " << size << ": " << parsed.error;
    }
  }
}

TEST(BackupFile, AnyEditedDigitOfTheBlockIsRefused) {
  const std::string text = MakeSample().text;
  const std::size_t begin = text.find("\n0000:"), end = text.find("\nCRC-32:");
  for (std::size_t at = begin; at < end; ++at) {
    const char c = text[at];
    // Only the byte digits: the offsets have their own checks.
    if (!std::isxdigit(static_cast<unsigned char>(c)) || text[at - 1] == '\n' ||
        text[at + 1] == ':' || text[at + 2] == ':' || text[at + 3] == ':')
      continue;
    std::string edited = text;
    edited[at] = c == '0' ? '1' : '0';
    EXPECT_NE(ParseBackup(edited).error.find("CRC-32 mismatch"), std::string::npos) << at;
  }
}

TEST(BackupName, ModuleSerialAndTimeInSafeCharacters) {
  std::tm when{};
  when.tm_year = 2026 - 1900;
  when.tm_mon = 11;
  when.tm_mday = 10;
  when.tm_hour = 11;
  when.tm_min = 45;
  link::CalibrationImage image = sim::DefaultImage({});
  EXPECT_EQ(DefaultBackupName(image, when), "AQV48S01-23110042-20261210-114500.qbk");
  const std::string odd = "A/Q.V*  ";
  std::copy(odd.begin(), odd.end(), image.begin());
  EXPECT_EQ(DefaultBackupName(image, when), "A_Q_V_-23110042-20261210-114500.qbk");
  std::fill_n(image.begin(), 8, ' ');
  EXPECT_EQ(DefaultBackupName(image, when), "controller-23110042-20261210-114500.qbk");
}

}  // namespace
}  // namespace qelvo::cli
