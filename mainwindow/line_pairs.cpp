#include "mainwindow/line_pairs.h"

namespace talvo {

std::vector<LinePair> ParseLinePairs(std::u16string_view text) {
  std::vector<std::u16string_view> lines;
  if (!text.empty()) {
    std::size_t start = 0;
    for (std::size_t end; (end = text.find(u"\r\n", start)) != std::u16string_view::npos;
         start = end + 2) {
      lines.push_back(text.substr(start, end - start));
    }
    lines.push_back(text.substr(start));
  }
  std::vector<LinePair> pairs;
  pairs.reserve(lines.size() / 2);
  for (std::size_t i = 0; i + 1 < lines.size(); i += 2) {
    pairs.push_back(LinePair{std::u16string(lines[i]), std::u16string(lines[i + 1])});
  }
  return pairs;
}

}  // namespace talvo
