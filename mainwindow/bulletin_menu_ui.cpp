#include "mainwindow/bulletin_menu_ui.h"

#include "mainwindow/bulletins.h"
#include "platform/browser_view.h"
#include "platform/clickable_menu_bar.h"

namespace talvo {

BulletinMenu::BulletinMenu(const Form1Parts& parts) : parts_(parts) {
  parts_.web_browser2->SetLoadCompleted([this] { OnServiceViewLoaded(); });
  for (int item = 1; item <= kBulletinItems; ++item) {
    parts_.menus->SetOnClick(kN1 + item - 1, [this, item] { Clicked(item); });
  }
}

// The text is read without a nested event loop: the reader must not run other handlers, or
// itself, while it waits.
void BulletinMenu::OnServiceViewLoaded() {
  parts_.web_browser2->ReadBodyText([this](std::u16string text) { ReadBlock(text); });
}

void BulletinMenu::ReadBlock(const std::u16string& page_text) {
  std::optional<std::vector<std::u16string>> fields = ReadBulletinBlock(page_text);
  if (!fields) return;
  const auto captions = BulletinCaptions(*fields);
  fields_ = std::move(fields);
  for (int item = 1; item <= kBulletinItems; ++item) {
    if (const auto& caption = captions[item - 1]) parts_.menus->SetCaption(kN1 + item - 1, *caption);
  }
}

void BulletinMenu::Clicked(int item) {
  if (const std::optional<std::u16string> link = BulletinLink(fields_, item)) {
    parts_.web_browser1->NavigateToWebAddress(*link);
  }
}

}  // namespace talvo
