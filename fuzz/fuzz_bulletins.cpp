// Any page text gives a bulletin block or none; a block keeps at most the twelve fields the items
// use, none with a "*", and every caption is "k." and its cleaned title: one line, no control or
// direction characters, at most kMaxBulletinTitle characters.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "core/utf.h"
#include "mainwindow/bulletin_menu.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::u16string text =
      talvo::Utf8ToUtf16(std::string_view(reinterpret_cast<const char*>(data), size));
  const auto fields = talvo::ReadBulletinBlock(text);
  if (!fields) {
    if (talvo::BulletinLink(fields, 1)) std::abort();
    return 0;
  }
  if (fields->empty() || fields->size() > 12) std::abort();
  for (const std::u16string& field : *fields) {
    if (field.find(u'*') != std::u16string::npos) std::abort();
  }
  const auto titles = talvo::BulletinTitles(*fields);
  for (int k = 1; k <= talvo::kBulletinItems; ++k) {
    const auto& item_title = titles[static_cast<std::size_t>(k - 1)];
    if (!item_title) continue;
    const std::u16string caption_text = talvo::BulletinCaption(k, *item_title);
    const std::u16string* caption = &caption_text;
    const std::u16string prefix = std::u16string(1, static_cast<char16_t>(u'0' + k)) + u".";
    if (caption->compare(0, 2, prefix) != 0) std::abort();
    const std::u16string title = caption->substr(2);
    if (title != talvo::CleanBulletinTitle((*fields)[static_cast<std::size_t>(2 * k - 2)],
                                           talvo::kMaxBulletinTitle)) {
      std::abort();
    }
    std::size_t characters = 0;
    for (const char16_t c : title) {
      if (c < 0x20 || (c >= 0x7F && c <= 0x9F) || c == 0x2028 || c == 0x2029 ||
          (c >= 0x202A && c <= 0x202E)) {
        std::abort();
      }
      if (!talvo::IsLowSurrogate(c)) ++characters;
    }
    if (characters > talvo::kMaxBulletinTitle) std::abort();
    if (!talvo::BulletinLink(fields, k)) std::abort();
  }
  return 0;
}
