#include "cli/image_difference.h"

#include <array>
#include <ostream>

#include "cli/page_listing.h"
#include "pages/item_codec.h"

namespace qelvo::cli {
namespace {

constexpr int kBitItem = 0;
constexpr int kByteItem = 1;
constexpr int kBytesItem = 2;
constexpr std::uint8_t kWholeByte = 0xFF;

using BitMask = std::array<std::uint8_t, link::kImageSize>;

// Marks the bits the item occupies; an item outside the image marks nothing.
void MarkItemBits(const catalogue::ParamItem& item, BitMask& mask) {
  if (!pages::ItemLiesInImage(item))
    return;
  const auto address = static_cast<std::size_t>(item.address);
  switch (item.pro) {
    case kBitItem:
      mask[address] |= static_cast<std::uint8_t>(1u << item.pos);
      break;
    case kByteItem:
      mask[address] = kWholeByte;
      break;
    case kBytesItem:
      for (std::size_t i = address; i <= address + static_cast<std::size_t>(item.pos); ++i)
        mask[i] = kWholeByte;
      break;
    default:
      break;
  }
}

}  // namespace

ImageDifference CompareImages(const catalogue::DescriptionTables* tables,
                              const link::CalibrationImage& before,
                              const link::CalibrationImage& after) {
  ImageDifference difference;
  difference.identical = before == after;
  if (difference.identical)
    return difference;

  BitMask explained{};
  if (tables) {
    const std::vector<ListedRow> oldRows = ListShownRows(*tables, before);
    const std::vector<ListedRow> newRows = ListShownRows(*tables, after);
    // The same tables list the same rows in the same order for any image.
    for (std::size_t i = 0; i < oldRows.size() && i < newRows.size(); ++i) {
      if (oldRows[i].value == newRows[i].value)
        continue;
      difference.rows.push_back(
          {oldRows[i].page, oldRows[i].caption, oldRows[i].value, newRows[i].value});
      MarkItemBits(tables->params[oldRows[i].position], explained);
    }
  }
  for (std::size_t i = 0; i < before.size(); ++i)
    if (((before[i] ^ after[i]) & ~explained[i]) != 0)
      ++difference.otherBytes;
  return difference;
}

void PrintRowChanges(const ImageDifference& difference, std::string_view indent,
                     std::ostream& out) {
  for (const RowChange& row : difference.rows)
    out << indent << row.page << " / " << row.caption << ": " << row.before << " -> " << row.after
        << "\n";
}

}  // namespace qelvo::cli
