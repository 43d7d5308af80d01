// Any list reply parses into whole pairs: no line break inside a name or an address, and every
// pair taken from the reply in order.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "core/utf.h"
#include "mainwindow/line_pairs.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::u16string text =
      talvo::Utf8ToUtf16(std::string_view(reinterpret_cast<const char*>(data), size));
  std::size_t from = 0;
  for (const talvo::LinePair& pair : talvo::ParseLinePairs(text)) {
    for (const std::u16string* line : {&pair.name, &pair.address}) {
      if (line->find(u"\r\n") != std::u16string::npos) std::abort();
      if (text.compare(from, line->size(), *line) != 0) std::abort();
      from += line->size() + 2;
    }
  }
  return 0;
}
