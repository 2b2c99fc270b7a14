#pragma once

namespace qelvo::app {

// The templates' own captions, which the program replaces before anyone sees them.
inline constexpr char16_t kButtonPlaceholder[] = u"按钮";
inline constexpr char16_t kStaticPlaceholder[] = u"静态";
inline constexpr char16_t kCheckBoxPlaceholder[] = u"复选框";
inline constexpr char16_t kGroupBoxPlaceholder[] = u"组框";

}  // namespace qelvo::app
