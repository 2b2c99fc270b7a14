#include "harness/row_collection_check.h"

#include <algorithm>
#include <array>
#include <memory>
#include <string>

#include "catalogue/tables.h"
#include "harness/row_case.h"
#include "pages/item_codec.h"
#include "pages/row_collection.h"

namespace qelvo::fuzz {

namespace {

using catalogue::ParamItem;

constexpr std::size_t kImageSize = 512;
using ImageBytes = std::array<std::uint8_t, kImageSize>;

// The bytes [first, end) an operation on the row may change, and in a flag row's byte only
// the row's bit. An item outside the image may change nothing.
struct RowExtent {
  std::size_t first = 0;
  std::size_t end = 0;
  std::uint8_t mask = 0xFF;
};

RowExtent ExtentOf(const ParamItem& item) {
  if (!pages::ItemLiesInImage(item))
    return {};
  const auto first = static_cast<std::size_t>(item.address);
  if (item.pro == 0)
    return {first, first + 1, static_cast<std::uint8_t>(1u << item.pos)};
  if (item.pro == 1)
    return {first, first + 1};
  return {first, first + static_cast<std::size_t>(item.pos) + 1};
}

Violation CompareOutside(const ImageBytes& before, const ImageBytes& after, const RowExtent& row,
                         const std::string& operation) {
  for (std::size_t i = 0; i < kImageSize; ++i) {
    const bool inRow = i >= row.first && i < row.end;
    const std::uint8_t kept = inRow ? static_cast<std::uint8_t>(~row.mask) : 0xFF;
    if ((before[i] & kept) != (after[i] & kept))
      return operation + " changed image byte " + std::to_string(i) + " outside the row";
  }
  return std::nullopt;
}

// Showing a row and collecting its edit untouched must give back the bytes it showed.
Violation CheckUnchangedEdit(ImageBytes& image, const ParamItem& item) {
  const auto shown = pages::FormatItemValue(pages::ConstImage(image), item);
  if (!shown)
    return std::nullopt;
  const ImageBytes before = image;
  pages::CollectRow(pages::Image(image), item, *shown);
  if (image != before)
    return std::string("collecting the untouched edit changed the bytes it showed");
  return std::nullopt;
}

// What ReadItemNumber must give back after StoreItemNumber(number): the number cut to the
// row's width, sign-extended for "so" rows of two bytes or more and for one-byte (pro 1) rows.
std::int32_t StoredNumber(const ParamItem& item, std::int32_t number) {
  const int width = item.pro == 1 ? 1 : item.pos + 1;
  if (width >= 4)
    return number;
  const unsigned bits = 8u * static_cast<unsigned>(width);
  const std::uint32_t mask = (std::uint32_t{1} << bits) - 1;
  const std::uint32_t value = static_cast<std::uint32_t>(number) & mask;
  const bool signExtends = item.sw == u"so" && (item.pro == 1 || width > 1);
  if (signExtends && (value >> (bits - 1)) != 0)
    return static_cast<std::int32_t>(value | ~mask);
  return static_cast<std::int32_t>(value);
}

bool HoldsNumber(const ParamItem& item) {
  return pages::ItemLiesInImage(item) && (item.pro == 1 || (item.pro == 2 && item.pos <= 3));
}

}  // namespace

Violation CheckRowCollection(std::span<const std::uint8_t> data) {
  const RowCase rowCase = DecodeRowCase(data);
  const ParamItem& item = rowCase.item;
  // On the heap and exactly 512 bytes, so the address sanitizer sees a byte past the image.
  auto image = std::make_unique<ImageBytes>();
  image->fill(rowCase.fill);
  for (std::size_t k = 0; k < rowCase.rowBytes.size(); ++k) {
    const std::int64_t at = std::int64_t{item.address} + static_cast<std::int64_t>(k);
    if (at >= 0 && at < static_cast<std::int64_t>(kImageSize))
      (*image)[static_cast<std::size_t>(at)] = rowCase.rowBytes[k];
  }
  const std::int32_t number = rowCase.number;
  const int bit = rowCase.bit;
  const std::u16string& text = rowCase.text;
  const RowExtent row = ExtentOf(item);

  if (Violation v = CheckUnchangedEdit(*image, item))
    return v;

  ImageBytes before = *image;
  const pages::CollectOutcome outcome = pages::CollectRow(pages::Image(*image), item, text);
  if (outcome != pages::CollectOutcome::Stored && *image != before)
    return std::string("a row that stored nothing changed the image");
  if (Violation v = CompareOutside(before, *image, row, "CollectRow"))
    return v;
  if (Violation v = CheckUnchangedEdit(*image, item))
    return v;

  before = *image;
  pages::StoreItemNumber(pages::Image(*image), item, number);
  if (Violation v = CompareOutside(before, *image, row, "StoreItemNumber"))
    return v;
  if (HoldsNumber(item)) {
    const std::int32_t read = pages::ReadItemNumber(pages::ConstImage(*image), item);
    if (read != StoredNumber(item, number)) {
      return "stored " + std::to_string(number) + " and read back " + std::to_string(read);
    }
  }

  before = *image;
  pages::StoreItemHex(pages::Image(*image), item, text);
  if (Violation v = CompareOutside(before, *image, row, "StoreItemHex"))
    return v;
  before = *image;
  pages::StoreItemChars(pages::Image(*image), item, text);
  if (Violation v = CompareOutside(before, *image, row, "StoreItemChars"))
    return v;
  before = *image;
  pages::WriteFlagBit(pages::Image(*image), item, bit);
  if (Violation v = CompareOutside(before, *image, row, "WriteFlagBit"))
    return v;
  if (item.pro == 0 && pages::ItemLiesInImage(item) &&
      pages::ReadFlagBit(pages::ConstImage(*image), item) != bit) {
    return std::string("a flag written did not read back");
  }

  pages::HelpText(item);
  pages::RangeMessage(item);
  return CheckUnchangedEdit(*image, item);
}

}  // namespace qelvo::fuzz
