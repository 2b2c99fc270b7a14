// Draws the program's banner, side picture and icon, and writes them as image files and as
// a C++ source that embeds their bytes.
//
//   generate_pictures OUTPUT_DIR

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "artwork.h"
#include "image_files.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

struct Picture {
  const char* file;      // written beside the source, for looking at
  const char* array;     // the array in the embedding source
  const char* accessor;  // the function that hands it out (app/resources/pictures.h)
  Bytes bytes;
};

bool WriteFile(const std::string& path, const Bytes& bytes) {
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
  return static_cast<bool>(out);
}

bool WriteSource(const std::string& path, const std::vector<Picture>& pictures) {
  std::ofstream out(path);
  out << "// Made by generate_pictures; do not edit.\n"
         "#include \"app/resources/pictures.h\"\n\n"
         "namespace qelvo::app {\n\nnamespace {\n\n";
  char hex[8];
  for (const Picture& p : pictures) {
    out << "constexpr std::uint8_t " << p.array << "[] = {";
    for (std::size_t i = 0; i < p.bytes.size(); ++i) {
      if (i % 20 == 0)
        out << "\n   ";
      std::snprintf(hex, sizeof hex, " 0x%02X,", p.bytes[i]);
      out << hex;
    }
    out << "\n};\n\n";
  }
  out << "}  // namespace\n\n";
  for (const Picture& p : pictures)
    out << "std::span<const std::uint8_t> " << p.accessor << "() { return " << p.array << "; }\n";
  out << "\n}  // namespace qelvo::app\n";
  return static_cast<bool>(out);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: generate_pictures OUTPUT_DIR\n");
    return 2;
  }
  const std::string dir = argv[1];
  using namespace qelvo::pictures;
  const std::vector<Picture> pictures = {
      {"banner_149.bmp", "kBanner", "BannerPicture", EncodeBmp24(DrawBanner())},
      {"side_150.bmp", "kSide", "SidePicture", EncodeBmp24(DrawSidePicture())},
      {"icon_148.png", "kIcon", "AppIconPicture", EncodePngRgba(DrawIcon())},
  };
  for (const Picture& p : pictures) {
    if (!WriteFile(dir + "/" + p.file, p.bytes)) {
      std::fprintf(stderr, "generate_pictures: cannot write %s/%s\n", dir.c_str(), p.file);
      return 1;
    }
  }
  if (!WriteSource(dir + "/pictures_data.cpp", pictures)) {
    std::fprintf(stderr, "generate_pictures: cannot write %s/pictures_data.cpp\n", dir.c_str());
    return 1;
  }
  return 0;
}
