// The bulletin block in the visible text of a verify page: "$$$*" title 1 "*" link 1 "*" …
// link 6 "*$$$". Plain functions; the menu entries n1 to n6 show what they find.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace talvo {

inline constexpr int kBulletinItems = 6;

// The block's fields, split at "*": the text after the first "$$$*" up to the first "*$$$" that
// begins after it. Nothing when there is no such block. Only the fields the items can use
// (twelve) are kept.
std::optional<std::vector<std::u16string>> ReadBulletinBlock(std::u16string_view text);

// The title of each item, untrimmed, where both the title and the link are there and not blank;
// nothing where the item keeps its caption.
std::array<std::optional<std::u16string>, kBulletinItems> BulletinTitles(
    const std::vector<std::u16string>& fields);

// A title as the menu bar may show it: one line, no control characters, no change of writing
// direction, and at most `max_chars` characters, the rest cut and marked with "…".
inline constexpr std::size_t kMaxBulletinTitle = 24;
std::u16string CleanBulletinTitle(std::u16string_view title, std::size_t max_chars);

// Item k's caption: "k." and the cleaned title.
std::u16string BulletinCaption(int k, std::u16string_view title,
                               std::size_t max_chars = kMaxBulletinTitle);

// The link item `k` (1 to 6) opens, or nothing when there are no fields or no such field.
std::optional<std::u16string> BulletinLink(const std::optional<std::vector<std::u16string>>& fields,
                                           int k);

}  // namespace talvo
