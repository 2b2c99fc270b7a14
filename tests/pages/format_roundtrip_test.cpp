// Every shown edit is written back when its page is hidden, read-only ones included, so an
// edit the user did not touch must give back exactly the bytes it was formatted from.
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "catalogue/tables.h"
#include "pages/item_codec.h"
#include "pages/row_collection.h"

#ifdef QELVO_HAVE_BUILTIN_TABLES
#include "catalogue/builtin_tables.h"
#include "catalogue/loader.h"
#include "catalogue/validate.h"
#endif
#ifdef QELVO_HAVE_SIM
#include "sim/default_image.h"
#endif

namespace qelvo::pages {
namespace {

using catalogue::ParamItem;
using ImageBytes = std::array<std::uint8_t, 512>;

// Plain patterns first, where sign bits and zero bytes sit, then random images.
std::vector<ImageBytes> TestImages() {
  std::vector<ImageBytes> images;
  for (const std::uint8_t fill : {0x00, 0xFF, 0x80, 0x7F, 0x01}) {
    images.emplace_back().fill(fill);
  }
  std::mt19937 random(20240611);
  std::uniform_int_distribution<int> byte(0, 255);
  for (int i = 0; i < 200; ++i) {
    ImageBytes& image = images.emplace_back();
    for (std::uint8_t& b : image)
      b = static_cast<std::uint8_t>(byte(random));
  }
  return images;
}

// Formats the row and collects the text again; returns false if any byte changed.
::testing::AssertionResult CollectsItsOwnText(const ImageBytes& image, const ParamItem& row,
                                              bool mayBeRefused) {
  const auto text = FormatItemValue(image, row);
  if (!text)
    return ::testing::AssertionSuccess();
  ImageBytes collected = image;
  const CollectOutcome outcome = CollectRow(collected, row, *text);
  if (!mayBeRefused && outcome == CollectOutcome::Refused) {
    return ::testing::AssertionFailure() << "its own text is refused";
  }
  for (std::size_t i = 0; i < image.size(); ++i) {
    if (collected[i] != image[i]) {
      return ::testing::AssertionFailure()
             << "byte " << i << " changed from " << int{image[i]} << " to " << int{collected[i]};
    }
  }
  return ::testing::AssertionSuccess();
}

TEST(FormatRoundTrip, EveryKindCodeAndWidthGivesBackItsBytes) {
  const std::vector<ImageBytes> images = TestImages();
  for (const int pro : {1, 2}) {
    for (const std::u16string sw : {u"uo", u"so", u"h", u"a", u"x"}) {
      for (const int pos : {0, 1, 2, 3, 7, 18}) {
        for (const int en : {0, 1}) {
          ParamItem row;
          row.address = 300;
          row.pro = pro;
          row.pos = pos;
          row.sw = sw;
          row.show = 1;
          row.en = en;
          // Wide enough for every value: multi-byte "uo" compares unsigned, 0..0xFFFFFFFF.
          const bool unsignedRange = pro == 2 && sw == u"uo";
          row.rangeL = unsignedRange ? 0 : std::numeric_limits<std::int32_t>::min();
          row.rangeH = unsignedRange ? -1 : std::numeric_limits<std::int32_t>::max();
          for (const ImageBytes& image : images) {
            ASSERT_TRUE(CollectsItsOwnText(image, row, false))
                << "pro " << pro << " pos " << pos << " en " << en << " sw "
                << std::string(sw.begin(), sw.end());
          }
        }
      }
    }
  }
}

#ifdef QELVO_HAVE_BUILTIN_TABLES
struct BuiltinTable {
  int id;
  const char* family;
  std::uint16_t version;
};
constexpr BuiltinTable kBuiltinTables[] = {
    {140, "QV", 0x0104}, {153, "QV", 0x0105}, {162, "QV", 0x0106},
    {165, "QV", 0x0109}, {158, "RN", 0x0101}, {159, "RN", 0x0102},
};

TEST(FormatRoundTrip, EveryShownRowOfEveryBuiltinTableGivesBackItsBytes) {
  const std::vector<ImageBytes> images = TestImages();
  for (const BuiltinTable& table : kBuiltinTables) {
    catalogue::DescriptionTables tables;
    const auto loaded =
        catalogue::LoadCalibrationText(catalogue::BuiltinTableText(table.id), tables, {});
    ASSERT_TRUE(loaded.ok()) << loaded.error;
    for (int i = catalogue::kFlagRows; i < tables.paramCount; ++i) {
      const ParamItem& row = tables.params[i];
      if (row.show != 1)
        continue;
      for (const ImageBytes& image : images) {
        // Random bytes lie outside many ranges; a refused row must still change nothing.
        ASSERT_TRUE(CollectsItsOwnText(image, row, true)) << "table " << table.id << " row " << i;
      }
    }
  }
}

#ifdef QELVO_HAVE_SIM
TEST(FormatRoundTrip, TheSimulatedControllersBlockCollectsUnchanged) {
  for (const BuiltinTable& table : kBuiltinTables) {
    sim::Identity identity;
    identity.family = table.family;
    identity.softwareVersion = table.version;
    const auto defaultImage = sim::DefaultImage(identity);
    ImageBytes image;
    std::copy(defaultImage.begin(), defaultImage.end(), image.begin());
    catalogue::DescriptionTables tables;
    const auto loaded = catalogue::LoadDescriptionTables(image, tables, nullptr);
    ASSERT_TRUE(loaded.ok()) << loaded.error;
    ASSERT_EQ(tables.calibrationTableId, table.id);
    for (int i = catalogue::kFlagRows; i < tables.paramCount; ++i) {
      const ParamItem& row = tables.params[i];
      if (row.show != 1)
        continue;
      EXPECT_TRUE(CollectsItsOwnText(image, row, false)) << "table " << table.id << " row " << i;
    }
  }
}
#endif
#endif

}  // namespace
}  // namespace qelvo::pages
