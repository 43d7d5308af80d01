#include "mainwindow/bulletin_menu_ui.h"

#include <wx/display.h>
#include <wx/frame.h>

#include <algorithm>

#include "platform/clickable_menu_bar.h"
#include "platform/web/browser_view.h"

namespace talvo {

BulletinMenu::BulletinMenu(const Form1Parts& parts) : parts_(parts) {
  parts_.web_browser2->SetLoadCompleted([this] { OnServiceViewLoaded(); });
  for (int item = 1; item <= kBulletinItems; ++item) {
    parts_.menus->SetOnClick(kN1 + item - 1, [this, item] { Clicked(item); });
  }
}

// The service view and the menu bar outlive the unit. A body text still being read is dropped
// by the view itself if the view goes first, and cannot arrive before it does.
BulletinMenu::~BulletinMenu() {
  parts_.web_browser2->SetLoadCompleted(nullptr);
  for (int item = 1; item <= kBulletinItems; ++item) {
    parts_.menus->SetOnClick(kN1 + item - 1, nullptr);
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
  const auto titles = BulletinTitles(*fields);
  fields_ = std::move(fields);
  for (int item = 1; item <= kBulletinItems; ++item) {
    if (titles[item - 1]) titles_[item - 1] = titles[item - 1];
  }
  ShowCaptions();
}

// The bar cannot be narrower than its entries, and the window not narrower than its bar: the
// titles are cut shorter until the window fits the screen's work area, whatever the service sends.
void BulletinMenu::ShowCaptions() {
  wxFrame* frame = parts_.frame;
  const int display = wxDisplay::GetFromWindow(frame);
  const int budget = wxDisplay(display == wxNOT_FOUND ? 0 : display).GetClientArea().width -
                     (frame->GetSize().x - frame->GetClientSize().x);
  for (int max_chars = static_cast<int>(kMaxBulletinTitle);;
       max_chars = std::max(max_chars - 4, 0)) {
    for (int item = 1; item <= kBulletinItems; ++item) {
      if (const auto& title = titles_[item - 1]) {
        parts_.menus->SetCaption(
            kN1 + item - 1, BulletinCaption(item, *title, static_cast<std::size_t>(max_chars)));
      }
    }
    if (max_chars == 0 || parts_.menus->MinimumWidth() <= budget) return;
  }
}

void BulletinMenu::Clicked(int item) {
  if (const std::optional<std::u16string> link = BulletinLink(fields_, item)) {
    parts_.web_browser1->NavigateToWebAddress(*link);
  }
}

}  // namespace talvo
