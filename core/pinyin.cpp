#include "core/pinyin.h"

#include "core/pinyin_tables.h"
#include "core/utf.h"

namespace talvo {
namespace {

bool IsHan(char32_t c) {
  for (const auto& block : pinyin::kHanBlocks) {
    if (c >= block[0] && c <= block[1]) return true;
  }
  return false;
}

// The character after position `i`, a space skipped, as ICU's context rules see it.
char32_t NextCharacter(std::u16string_view text, std::size_t i) {
  if (i < text.size() && text[i] == u' ') ++i;
  return i < text.size() ? CodePointAt(text, i) : 0;
}

std::string ReadingIn(std::u16string_view text, char32_t c, std::size_t after) {
  const char32_t next = NextCharacter(text, after);
  for (const pinyin::ContextReading& rule : pinyin::ContextReadings()) {
    if (rule.character == c && rule.next == next) return rule.reading;
  }
  return pinyin::Reading(c);
}

}  // namespace

PinyinSpelling SpellInPinyin(std::u16string_view name) {
  PinyinSpelling spelling;
  for (std::size_t i = 0; i < name.size();) {
    const char32_t c = CodePointAt(name, i);
    if ((c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9')) {
      spelling.full += static_cast<char>(AsciiLower(static_cast<char16_t>(c)));
      spelling.initials += static_cast<char>(AsciiLower(static_cast<char16_t>(c)));
    } else if (IsHan(c)) {
      const std::string reading = ReadingIn(name, c, i);
      if (reading.empty()) continue;
      spelling.full += reading;
      spelling.initials += reading.front();
    }
  }
  return spelling;
}

}  // namespace talvo
