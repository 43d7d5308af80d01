// The service's list format: lines separated by CR LF, taken in pairs (name, page address).
// Used by the programme list and the station list.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace talvo {

struct LinePair {
  std::u16string name;
  std::u16string address;
};

// A lone CR or LF does not end a line; a last line without a partner (including the empty line
// a final CR LF leaves) is ignored; nothing is trimmed or checked.
std::vector<LinePair> ParseLinePairs(std::u16string_view text);

}  // namespace talvo
