#include "cli/setting_change.h"

#include <optional>

#include "cli/text.h"
#include "pages/item_codec.h"
#include "pages/row_collection.h"

namespace qelvo::cli {
namespace {

constexpr std::int32_t kFlagItem = 0;
constexpr std::int32_t kReadOnly = 0;

std::optional<std::string> ShownValue(const link::CalibrationImage& image,
                                      const catalogue::ParamItem& item) {
  const pages::ConstImage bytes(image);
  if (item.pro == kFlagItem)
    return std::to_string(pages::ReadFlagBit(bytes, item));
  if (auto text = pages::FormatItemValue(bytes, item))
    return ToUtf8(*text);
  return std::nullopt;
}

// A flag row outside the page's boxes, or a row whose code has no format: the page shows
// no value for it, so none is taken either.
bool HasValue(const catalogue::ParamItem& item, const ListedRow& row,
              const link::CalibrationImage& image) {
  if (item.pro == kFlagItem)
    return row.flag && pages::ItemLiesInImage(item);
  return !row.flag && ShownValue(image, item).has_value();
}

}  // namespace

SettingChange ApplySetting(const catalogue::DescriptionTables& tables, const ListedRow& row,
                           std::string_view value, link::CalibrationImage& image) {
  const catalogue::ParamItem& item = tables.params[row.position];
  SettingChange change;
  if (item.en == kReadOnly) {
    change.refusal = row.caption + " is read-only.";
    return change;
  }
  if (!HasValue(item, row, image)) {
    change.refusal = row.caption + " has no value that can be set.";
    return change;
  }
  change.oldValue = *ShownValue(image, item);

  link::CalibrationImage changed = image;
  if (item.pro == kFlagItem) {
    if (value != "0" && value != "1") {
      change.refusal = row.caption + " is a flag: it takes 0 or 1.";
      return change;
    }
    pages::WriteFlagBit(changed, item, value == "1" ? 1 : 0);
  } else {
    switch (pages::CollectRow(changed, item, FromUtf8(value))) {
      case pages::CollectOutcome::Stored:
        break;
      case pages::CollectOutcome::Refused:
        change.refusal = ToUtf8(pages::RangeMessage(item));
        return change;
      case pages::CollectOutcome::NothingStored:
        change.refusal = row.caption + " has no value that can be set.";
        return change;
    }
  }
  image = changed;
  change.newValue = *ShownValue(image, item);
  change.applied = true;
  return change;
}

}  // namespace qelvo::cli
