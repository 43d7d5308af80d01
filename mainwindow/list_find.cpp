#include "mainwindow/list_find.h"

#include <algorithm>
#include <charconv>

#include "core/utf.h"

namespace talvo {
namespace {

// `typed` without spaces, when it is all letters and digits: what pinyin can match.
std::string PinyinTyped(std::u16string_view folded) {
  std::string ascii;
  for (const char16_t c : folded) {
    if (c == u' ') continue;
    if (!((c >= u'a' && c <= u'z') || (c >= u'0' && c <= u'9'))) return {};
    ascii += static_cast<char>(c);
  }
  return ascii;
}

}  // namespace

FindableName MakeFindable(std::u16string_view name) {
  return {AsciiLower(name), SpellInPinyin(name)};
}

std::vector<std::size_t> MatchingRows(const std::vector<FindableName>& rows,
                                      std::u16string_view typed) {
  std::u16string folded = AsciiLower(typed);
  folded.erase(0, folded.find_first_not_of(u' '));
  folded.erase(folded.find_last_not_of(u' ') + 1);
  const std::string ascii = PinyinTyped(folded);

  std::size_t number = 0;
  const bool is_number = !ascii.empty() && std::all_of(ascii.begin(), ascii.end(), [](char c) {
    return c >= '0' && c <= '9';
  }) && std::from_chars(ascii.data(), ascii.data() + ascii.size(), number).ec == std::errc{};

  std::vector<std::size_t> matches;
  for (std::size_t position = 0; position < rows.size(); ++position) {
    const FindableName& row = rows[position];
    const bool numbered = is_number && number == position + 1;
    if (numbered) {
      matches.insert(matches.begin(), position);
    } else if (row.folded.find(folded) != std::u16string::npos ||
               (!ascii.empty() && (row.pinyin.initials.find(ascii) != std::string::npos ||
                                   row.pinyin.full.find(ascii) != std::string::npos))) {
      matches.push_back(position);
    }
  }
  return matches;
}

}  // namespace talvo
