// Conversions between the UTF-16 text the program works in and UTF-8 bytes (files, URLs).
#pragma once

#include <string>
#include <string_view>

namespace talvo {

// Invalid or truncated sequences become U+FFFD.
std::u16string Utf8ToUtf16(std::string_view bytes);
// Unpaired surrogates become U+FFFD.
std::string Utf16ToUtf8(std::u16string_view text);

}  // namespace talvo
