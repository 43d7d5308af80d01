// Any page text gives a bulletin block or none; a block keeps at most the twelve fields the items
// use, none with a "*", and every caption is "k." and its title.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "core/utf.h"
#include "mainwindow/bulletins.h"

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
  const auto captions = talvo::BulletinCaptions(*fields);
  for (int k = 1; k <= talvo::kBulletinItems; ++k) {
    const auto& caption = captions[static_cast<std::size_t>(k - 1)];
    if (!caption) continue;
    const std::u16string prefix = std::u16string(1, static_cast<char16_t>(u'0' + k)) + u".";
    if (caption->compare(0, 2, prefix) != 0) std::abort();
    if (caption->substr(2) != (*fields)[static_cast<std::size_t>(2 * k - 2)]) std::abort();
    if (!talvo::BulletinLink(fields, k)) std::abort();
  }
  return 0;
}
