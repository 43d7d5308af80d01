// Finding a row of a list by typing: part of its name, the pinyin initials of its name ("gdws"
// for 广东卫视高清), its full pinyin ("guangdong"), or its number in the list.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "core/pinyin.h"

namespace talvo {

// A row's name in the forms it can be found by, made once when the row arrives.
struct FindableName {
  std::u16string folded;  // Latin letters in lower case
  PinyinSpelling pinyin;
};
FindableName MakeFindable(std::u16string_view name);

// The positions of the rows that match `typed`, in list order, except that the row numbered
// `typed` (counted from 1) comes first: the number is the one thing that names a single row.
// Case and spaces in `typed` do not count; typing nothing matches every row.
std::vector<std::size_t> MatchingRows(const std::vector<FindableName>& rows,
                                      std::u16string_view typed);

}  // namespace talvo
