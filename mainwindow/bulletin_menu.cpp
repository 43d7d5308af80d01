#include "mainwindow/bulletin_menu.h"

#include "core/utf.h"

namespace talvo {
namespace {

constexpr std::u16string_view kOpen = u"$$$*";
constexpr std::u16string_view kClose = u"*$$$";
constexpr std::size_t kUsedFields = 2 * kBulletinItems;

bool Blank(std::u16string_view text) {
  return text.find_first_not_of(u' ') == std::u16string_view::npos;
}

// Characters that would break the bar's single line or turn the text around (the entry's own
// number included): C0 and C1 controls, line and paragraph separators, bidirectional marks,
// embeddings, overrides and isolates.
bool Unshowable(char16_t c) {
  return c < 0x20 || (c >= 0x7F && c <= 0x9F) || c == 0x2028 || c == 0x2029 || c == 0x061C ||
         c == 0x200E || c == 0x200F || (c >= 0x202A && c <= 0x202E) || (c >= 0x2066 && c <= 0x2069);
}

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

std::array<std::optional<std::u16string>, kBulletinItems> BulletinTitles(
    const std::vector<std::u16string>& fields) {
  std::array<std::optional<std::u16string>, kBulletinItems> titles;
  for (std::size_t k = 1; k <= kBulletinItems; ++k) {
    const std::size_t title = 2 * k - 2;
    const std::size_t link = 2 * k - 1;
    if (link >= fields.size() || Blank(fields[title]) || Blank(fields[link])) continue;
    titles[k - 1] = fields[title];
  }
  return titles;
}

std::u16string CleanBulletinTitle(std::u16string_view title, std::size_t max_chars) {
  std::u16string clean;
  std::size_t chars = 0;
  for (std::size_t i = 0; i < title.size(); ++i) {
    if (Unshowable(title[i])) continue;
    // A character beyond the limit: the last one kept gives way to the mark.
    if (chars == max_chars) {
      if (max_chars == 0) return u"…";
      const std::size_t n = clean.size();
      const std::size_t last =
          n >= 2 && IsHighSurrogate(clean[n - 2]) && IsLowSurrogate(clean[n - 1]) ? 2 : 1;
      clean.resize(clean.size() - last);
      return clean + u"…";
    }
    clean += title[i];
    // The two halves of a surrogate pair are one character.
    if (IsHighSurrogate(title[i]) && i + 1 < title.size()) clean += title[++i];
    ++chars;
  }
  return clean;
}

std::u16string BulletinCaption(int k, std::u16string_view title, std::size_t max_chars) {
  return std::u16string(1, static_cast<char16_t>(u'0' + k)) + u"." +
         CleanBulletinTitle(title, max_chars);
}

std::optional<std::u16string> BulletinLink(const std::optional<std::vector<std::u16string>>& fields,
                                           int k) {
  if (!fields || k < 1 || k > kBulletinItems) return std::nullopt;
  const auto link = static_cast<std::size_t>(2 * k - 1);
  if (link >= fields->size()) return std::nullopt;
  return (*fields)[link];
}

}  // namespace talvo
