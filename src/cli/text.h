#pragma once

#include <string>
#include <string_view>

namespace qelvo::cli {

std::string ToUtf8(std::u16string_view text);
std::u16string FromUtf8(std::string_view text);

}  // namespace qelvo::cli
