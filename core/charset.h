// The service's character sets: bodies arrive in a named charset (GBK in practice) and query
// values leave as GBK bytes. Decoding and encoding live together so both read GBK as GB18030,
// through the same iconv converter.
#pragma once

#include <string>
#include <string_view>

namespace talvo {

// Decodes a body in the encoding named by a WHATWG label ("gb2312" is read as GBK/GB18030, as
// browsers do). Invalid sequences become U+FFFD; an unknown label gives the empty text.
std::u16string DecodeBytes(std::string_view body, std::u16string_view charset);

// The text as GB18030 bytes: GBK for every character GBK has, and an encoding for the rest.
// An unpaired surrogate becomes "?".
std::string EncodeGbk(std::u16string_view text);

// Builds the GBK lookup table the first decode would build; safe to call from any thread.
void PrepareCharsets();

}  // namespace talvo
