// GBK bytes of a text, as the service writes its replies.
#pragma once

#include <string>
#include <string_view>

namespace talvo::testing {

std::string ToGbk(std::u16string_view text);

}  // namespace talvo::testing
