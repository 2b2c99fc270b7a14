#pragma once

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "cli/backup_file.h"
#include "cli/cli.h"
#include "cli/cli_fixture.h"
#include "link/commands.h"

namespace qelvo::cli::test {

// A run of `qelvo` whose standard input holds `input`.
inline Outcome QelvoAnswering(const std::vector<std::string>& args, const std::string& input) {
  std::ostringstream out, err;
  std::istringstream in(input);
  Outcome run;
  run.status = RunCli(args, out, err, in);
  run.out = out.str();
  run.err = err.str();
  return run;
}

// A backup of `image` as `qelvo backup` writes one, without the rows' comments.
inline void WriteBackupFile(const std::filesystem::path& path, const link::CalibrationImage& image,
                            int tableId = 165) {
  const Backup backup{DescribeImage(image, tableId, "2026-12-10 11:45:00 +0000"), image};
  std::ofstream(path, std::ios::binary) << FormatBackup(backup, {});
}

}  // namespace qelvo::cli::test
