// Any body under any label decodes without crashing; and the GBK decoder's fast paths (ASCII
// runs, looked-up two-byte characters) agree with plain iconv over the whole body.
#include <iconv.h>

#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "core/charset.h"
#include "core/utf.h"

namespace {

// iconv over the whole body, one character at a time into UTF-32: a byte that starts no valid
// character, also one cut off by the end, is one U+FFFD and is skipped alone.
std::u16string ReferenceGb18030(std::string_view body) {
  static iconv_t cd = iconv_open("UTF-32LE", "GB18030");
  std::u32string wide;
  char* in = const_cast<char*>(body.data());
  std::size_t in_left = body.size();
  iconv(cd, nullptr, nullptr, nullptr, nullptr);
  while (in_left > 0) {
    char32_t unit[4];
    char* dst = reinterpret_cast<char*>(unit);
    std::size_t dst_left = sizeof(char32_t);  // exactly one character per call
    const std::size_t rc = iconv(cd, &in, &in_left, &dst, &dst_left);
    if (dst_left == 0) {
      wide.push_back(unit[0]);
      continue;
    }
    if (rc != static_cast<std::size_t>(-1)) break;
    if (errno == E2BIG) continue;
    wide.push_back(0xFFFD);
    ++in;
    --in_left;
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
  }
  std::u16string out;
  for (const char32_t c : wide) talvo::AppendCodePoint(out, c);
  return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  static const char16_t* const kLabels[] = {u"gb2312", u"gb18030",      u"utf-8",
                                            u"big5",   u"windows-1252", u"unknown"};
  const char16_t* label = kLabels[data[0] % (sizeof kLabels / sizeof kLabels[0])];
  const std::string_view body(reinterpret_cast<const char*>(data + 1), size - 1);
  const std::u16string text = talvo::DecodeBytes(body, label);
  if (talvo::Utf8ToUtf16(talvo::Utf16ToUtf8(text)) != text) std::abort();  // no lone surrogates
  if (data[0] % 6 < 2 && text != ReferenceGb18030(body)) std::abort();
  return 0;
}
