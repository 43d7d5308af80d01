// The readings SpellInPinyin uses, made from ICU's Han-Latin transliteration: on Linux ICU is
// asked at first use; the Windows build compiles in the same readings, made from ICU on the
// machine that builds it (there is no ICU for Windows here). Either way the rules are ICU's:
// one reading a character, and the few where the next character decides (重庆 is chóngqìng).
#pragma once

#include <string>
#include <vector>

namespace talvo::pinyin {

// A character read otherwise before `next` (with or without a space between).
struct ContextReading {
  char32_t character;
  char32_t next;
  std::string reading;
};

// The reading of `character` in lower-case ASCII ("guang"); empty for a character that is not
// Han or that ICU cannot read.
std::string Reading(char32_t character);
const std::vector<ContextReading>& ContextReadings();

// The Han blocks readings are kept for: Extension A, the Unified Ideographs, the compatibility
// ideographs. Channel names use nothing beyond.
inline constexpr char32_t kHanBlocks[][2] = {{0x3400, 0x4DBF}, {0x4E00, 0x9FFF}, {0xF900, 0xFAFF}};

}  // namespace talvo::pinyin
