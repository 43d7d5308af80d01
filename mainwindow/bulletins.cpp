#include "mainwindow/bulletins.h"

namespace talvo {
namespace {

constexpr std::u16string_view kOpen = u"$$$*";
constexpr std::u16string_view kClose = u"*$$$";
constexpr std::size_t kUsedFields = 2 * kBulletinItems;

bool Blank(std::u16string_view text) { return text.find_first_not_of(u' ') == std::u16string_view::npos; }

}  // namespace

std::optional<std::vector<std::u16string>> ReadBulletinBlock(std::u16string_view text) {
  const std::size_t open = text.find(kOpen);
  if (open == std::u16string_view::npos) return std::nullopt;
  const std::size_t start = open + kOpen.size();
  const std::size_t close = text.find(kClose, start);
  if (close == std::u16string_view::npos) return std::nullopt;
  const std::u16string_view content = text.substr(start, close - start);

  std::vector<std::u16string> fields;
  std::size_t from = 0;
  while (fields.size() < kUsedFields) {
    const std::size_t star = content.find(u'*', from);
    fields.emplace_back(content.substr(from, star - from));
    if (star == std::u16string_view::npos) break;
    from = star + 1;
  }
  return fields;
}

std::array<std::optional<std::u16string>, kBulletinItems> BulletinCaptions(
    const std::vector<std::u16string>& fields) {
  std::array<std::optional<std::u16string>, kBulletinItems> captions;
  for (std::size_t k = 1; k <= kBulletinItems; ++k) {
    const std::size_t title = 2 * k - 2;
    const std::size_t link = 2 * k - 1;
    if (link >= fields.size() || Blank(fields[title]) || Blank(fields[link])) continue;
    captions[k - 1] = std::u16string(1, static_cast<char16_t>(u'0' + k)) + u"." + fields[title];
  }
  return captions;
}

std::optional<std::u16string> BulletinLink(const std::optional<std::vector<std::u16string>>& fields,
                                           int k) {
  if (!fields || k < 1 || k > kBulletinItems) return std::nullopt;
  const auto link = static_cast<std::size_t>(2 * k - 1);
  if (link >= fields->size()) return std::nullopt;
  return (*fields)[link];
}

}  // namespace talvo
