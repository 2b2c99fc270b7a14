#include "link/line_log_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "support/temp_dir.h"

namespace qelvo::link {
namespace {

namespace fs = std::filesystem;

std::string Contents(const fs::path& path) {
  std::ifstream in(path);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

TEST(LineLogFile, LinesSitInTheTemporaryFileUntilFinish) {
  test_support::TempDir dir;
  const fs::path path = dir.path() / "log.txt";
  std::string error;
  auto log = LineLogFile::Create(path.string(), error);
  ASSERT_TRUE(log) << error;
  ASSERT_TRUE(log->Append("one\n", error));
  ASSERT_TRUE(log->Append("two\n", error));
  // What a killed run leaves: every whole line, in FILE.tmp only.
  EXPECT_FALSE(fs::exists(path));
  EXPECT_EQ(Contents(log->temporaryPath()), "one\ntwo\n");

  ASSERT_TRUE(log->Finish(error)) << error;
  EXPECT_EQ(Contents(path), "one\ntwo\n");
  EXPECT_FALSE(fs::exists(log->temporaryPath()));
  EXPECT_TRUE(log->Finish(error));
  EXPECT_FALSE(log->Append("three\n", error));
}

TEST(LineLogFile, FailuresAreReportedAndNeverTakenForSuccess) {
  test_support::TempDir dir;
  std::string error;
  EXPECT_FALSE(LineLogFile::Create((dir.path() / "missing" / "log.txt").string(), error));
  EXPECT_NE(error.find("Cannot write"), std::string::npos) << error;

  // A directory in FILE's place: the rename fails, FILE.tmp keeps the lines.
  const fs::path path = dir.path() / "taken";
  fs::create_directory(path);
  fs::create_directory(path / "inside");
  auto log = LineLogFile::Create(path.string(), error);
  ASSERT_TRUE(log) << error;
  ASSERT_TRUE(log->Append("kept\n", error));
  error.clear();
  EXPECT_FALSE(log->Finish(error));
  EXPECT_NE(error.find("Cannot rename"), std::string::npos) << error;
  EXPECT_EQ(Contents(log->temporaryPath()), "kept\n");
  EXPECT_FALSE(log->Finish(error));
}

}  // namespace
}  // namespace qelvo::link
