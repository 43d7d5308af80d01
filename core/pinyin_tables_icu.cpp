#include <unicode/translit.h>
#include <unicode/unistr.h>
#include <unicode/utypes.h>

#include <map>
#include <memory>
#include <mutex>

#include "core/debug_trace.h"
#include "core/pinyin_tables.h"

namespace talvo::pinyin {
namespace {

// ICU without its transliteration data (a trimmed libicu) has none: channels are then found by
// the letters of their names alone, not by their readings, and the log says why.
std::unique_ptr<icu::Transliterator> Transliterator(const char* id) {
  UErrorCode status = U_ZERO_ERROR;
  std::unique_ptr<icu::Transliterator> made(
      icu::Transliterator::createInstance(id, UTRANS_FORWARD, status));
  if (U_FAILURE(status) || !made) {
    DebugTrace("pinyin", std::string("no ICU transliterator \"") + id + "\" (" +
                             u_errorName(status) + "): channels are found by their letters only");
    return nullptr;
  }
  return made;
}

struct Icu {
  std::unique_ptr<icu::Transliterator> han;    // Han-Latin: its rules, for the context readings
  std::unique_ptr<icu::Transliterator> plain;  // to lower-case ASCII, tones dropped
  std::mutex mutex;
  std::map<char32_t, std::string> readings;
};

Icu& TheIcu() {
  static Icu* icu = [] {
    auto* made = new Icu;
    made->han = Transliterator("Han-Latin");
    made->plain = Transliterator("Han-Latin; Latin-ASCII; Lower");
    return made;
  }();
  return *icu;
}

// Only the letters a to z: what ICU leaves untransliterated is no reading.
std::string Plain(icu::UnicodeString text) {
  TheIcu().plain->transliterate(text);
  std::string utf8;
  text.toUTF8String(utf8);
  std::string letters;
  for (const char c : utf8) {
    if (c >= 'a' && c <= 'z') letters += c;
  }
  return letters;
}

// ICU writes them as "{重}' '?庆 > chóng;".
std::vector<ContextReading> ParseContextRules() {
  std::vector<ContextReading> rules;
  Icu& icu = TheIcu();
  if (!icu.han || !icu.plain) return rules;
  icu::UnicodeString text;
  icu.han->toRules(text, false);
  const icu::UnicodeString space_rule("}' '?");
  const icu::UnicodeString arrow(" > ");
  for (int32_t start = 0; start < text.length();) {
    int32_t end = text.indexOf(u'\n', start);
    if (end < 0) end = text.length();
    const icu::UnicodeString line = text.tempSubStringBetween(start, end);
    start = end + 1;
    if (line.length() < 2 || line[0] != u'{') continue;
    const UChar32 character = line.char32At(1);
    const int32_t after = 1 + U16_LENGTH(character);
    if (line.compare(after, space_rule.length(), space_rule) != 0) continue;
    const int32_t next_at = after + space_rule.length();
    const UChar32 next = line.char32At(next_at);
    const int32_t arrow_at = next_at + U16_LENGTH(next);
    if (line.compare(arrow_at, arrow.length(), arrow) != 0) continue;
    const int32_t reading_at = arrow_at + arrow.length();
    const int32_t semicolon = line.indexOf(u';', reading_at);
    if (semicolon < 0) continue;
    std::string reading = Plain(line.tempSubStringBetween(reading_at, semicolon));
    if (!reading.empty()) {
      rules.push_back({static_cast<char32_t>(character), static_cast<char32_t>(next), reading});
    }
  }
  return rules;
}

}  // namespace

std::string Reading(char32_t character) {
  Icu& icu = TheIcu();
  if (!icu.plain) return {};
  const std::lock_guard lock(icu.mutex);
  const auto known = icu.readings.find(character);
  if (known != icu.readings.end()) return known->second;
  std::string reading = Plain(icu::UnicodeString(static_cast<UChar32>(character)));
  icu.readings.emplace(character, reading);
  return reading;
}

const std::vector<ContextReading>& ContextReadings() {
  static const std::vector<ContextReading> rules = ParseContextRules();
  return rules;
}

}  // namespace talvo::pinyin
