#include "core/pinyin_tables.h"

namespace talvo::pinyin {
namespace {

#include "pinyin_tables_data.inc"

}  // namespace

std::string Reading(char32_t character) {
  std::size_t index = 0;
  for (const auto& block : kHanBlocks) {
    if (character >= block[0] && character <= block[1]) {
      return kReadings[kReadingNumbers[index + (character - block[0])]];
    }
    index += block[1] - block[0] + 1;
  }
  return {};
}

const std::vector<ContextReading>& ContextReadings() {
  static const std::vector<ContextReading> rules(std::begin(kContextReadings),
                                                 std::end(kContextReadings));
  return rules;
}

}  // namespace talvo::pinyin
