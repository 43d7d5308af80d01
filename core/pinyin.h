// How a name is typed in pinyin: each Han character's Mandarin reading, as ICU's Han-Latin
// transliteration gives it, without tones and in lower case; letters and digits as they are.
#pragma once

#include <string>
#include <string_view>

namespace talvo {

struct PinyinSpelling {
  std::string full;      // "guangdongweishigaoqing" for 广东卫视高清
  std::string initials;  // "gdwsgq"
};

// Letters and digits (lower case) and Han characters' readings, in order; anything else, such as
// spaces and punctuation, is left out. A Han character ICU has no reading for is left out too.
PinyinSpelling SpellInPinyin(std::u16string_view name);

}  // namespace talvo
