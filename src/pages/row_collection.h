#pragma once

#include <string>
#include <string_view>

#include "catalogue/tables.h"
#include "pages/item_codec.h"

namespace qelvo::pages {

// One shown row's edit text taken back into the image, as a page does when it is hidden.
enum class CollectOutcome { Stored, NothingStored, Refused };
CollectOutcome CollectRow(Image image, const catalogue::ParamItem& item, std::u16string_view text);

// "tips Range:L~H", shown when the row's edit takes the focus.
std::u16string HelpText(const catalogue::ParamItem& item);
// "Param:name\nThe range should be between L~H", shown when a row is refused.
std::u16string RangeMessage(const catalogue::ParamItem& item);

}  // namespace qelvo::pages
