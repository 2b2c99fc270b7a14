#include <array>
#include <memory>
#include <string>

#include "catalogue/loader.h"
#include "cli/backup_file.h"
#include "cli/page_listing.h"
#include "seeds/seed_set.h"
#include "sim/default_image.h"
#include "sim/identity.h"

namespace qelvo::fuzz {

namespace {

std::vector<std::uint8_t> Bytes(const std::string& text) {
  return {text.begin(), text.end()};
}

}  // namespace

// Backups as `qelvo backup` writes them, with their rows as comments, and damaged copies.
std::vector<Seed> BackupFileSeeds() {
  const std::array<sim::Identity, 2> identities{{
      {"QV", 0x0109, "48", 48, "", ""},
      {"RN", 0x0101, "72", 72, "2Q", "MODULE 7"},
  }};
  std::vector<Seed> seeds;
  for (const sim::Identity& identity : identities) {
    cli::Backup backup;
    backup.image = sim::DefaultImage(identity);
    auto tables = std::make_unique<catalogue::DescriptionTables>();
    const catalogue::LoadResult loaded =
        catalogue::LoadDescriptionTables(backup.image, *tables, {});
    backup.header =
        cli::DescribeImage(backup.image, tables->calibrationTableId, "2026-01-01 12:00:00 +0000");
    const std::vector<cli::ListedRow> rows =
        loaded.ok() ? cli::ListShownRows(*tables, backup.image) : std::vector<cli::ListedRow>{};
    const std::string text = cli::FormatBackup(backup, rows);
    const std::string name = identity.family + "_" + std::to_string(identity.softwareVersion);
    seeds.push_back({name, Bytes(text)});
    seeds.push_back({name + "_truncated", Bytes(text.substr(0, text.size() / 2))});
    std::string windows;
    for (const char c : text)
      windows += c == '\n' ? std::string("\r\n") : std::string(1, c);
    seeds.push_back({name + "_crlf_bom", Bytes("\xEF\xBB\xBF" + windows)});
  }
  return seeds;
}

}  // namespace qelvo::fuzz
