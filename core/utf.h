// Conversions between the UTF-16 text the program works in and UTF-8 bytes (files, URLs).
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace talvo {

// Invalid or truncated sequences become U+FFFD.
std::u16string Utf8ToUtf16(std::string_view bytes);
// Unpaired surrogates become U+FFFD.
std::string Utf16ToUtf8(std::u16string_view text);

// One code point, as one UTF-16 unit or a surrogate pair.
void AppendCodePoint(std::u16string& out, char32_t code_point);
constexpr bool IsHighSurrogate(char32_t c) { return c >= 0xD800 && c <= 0xDBFF; }
constexpr bool IsLowSurrogate(char32_t c) { return c >= 0xDC00 && c <= 0xDFFF; }
constexpr bool IsSurrogate(char32_t c) { return c >= 0xD800 && c <= 0xDFFF; }
// The code point at `i`, a surrogate pair read as one; `i` moves past it. An unpaired surrogate
// is the code point of its own unit.
char32_t CodePointAt(std::u16string_view text, std::size_t& i);

// A–Z made a–z, every other unit as it is: for names that protocols compare without case, and
// letters typed to find a name. One rule for both widths.
constexpr char16_t AsciiLower(char16_t c) {
  return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c - u'A' + u'a') : c;
}
std::string AsciiLower(std::string_view text);
std::u16string AsciiLower(std::u16string_view text);

// `text` as XML or HTML character data or an attribute's value: markup characters escaped,
// control characters (which XML 1.0 cannot hold) left out.
std::string XmlEscaped(std::string_view text);

// Each byte of `bytes` that `escaped` picks as "%XX" (upper-case hex), the rest as they are.
std::string PercentEncoded(std::string_view bytes, bool (*escaped)(unsigned char byte));
// Each "%XX" made its byte. A "%" without two hex digits after it: nothing when `strict`, else it
// stays as it is.
std::optional<std::string> PercentDecoded(std::string_view text, bool strict);

}  // namespace talvo
