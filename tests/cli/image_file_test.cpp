#include "cli/image_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace qelvo::cli {
namespace {

TEST(ImageFile, OnlyAnExact512ByteFileIsAnImage) {
  const auto path = std::filesystem::temp_directory_path() / "qelvo-image-file-test.bin";
  for (std::size_t size : {0u, 511u, 512u, 513u, 4096u}) {
    {
      std::ofstream file(path, std::ios::binary);
      file << std::string(size, 'x');
    }
    const ImageFileResult result = ReadImageFile(path.string());
    EXPECT_EQ(result.image.has_value(), size == 512) << size;
    EXPECT_EQ(result.error.empty(), size == 512) << size;
  }
  std::filesystem::remove(path);
}

TEST(ImageFile, AtomicWriteReplacesTheFileWhole) {
  const auto dir = std::filesystem::temp_directory_path() / "qelvo-atomic-write-test";
  std::filesystem::create_directories(dir);
  const auto path = dir / "image.bin";
  std::string error;
  const std::vector<std::uint8_t> first(512, 1), second(512, 2);
  ASSERT_TRUE(WriteFileAtomically(path.string(), first, error)) << error;
  ASSERT_TRUE(WriteFileAtomically(path.string(), second, error)) << error;
  EXPECT_EQ(ReadImageFile(path.string()).image->front(), 2);
  // Nothing but the file itself is left behind.
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir), {}), 1);
  EXPECT_FALSE(WriteFileAtomically((dir / "missing" / "x.bin").string(), first, error));
  EXPECT_NE(error.find("Cannot write"), std::string::npos);
  std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace qelvo::cli
