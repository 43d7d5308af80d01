// The notification area's icon, through wxTaskBarIcon: its menu made from the entries each time
// it opens.
#include <wx/iconbndl.h>
#include <wx/menu.h>
#include <wx/taskbar.h>

#include "core/debug_trace.h"
#include "platform/app_icons.h"
#include "platform/tray.h"
#include "platform/wx_text.h"

namespace talvo {
namespace {

class NotificationAreaTray : public Tray, private wxTaskBarIcon {
 public:
  explicit NotificationAreaTray(std::function<void(int)> on_choice)
      : on_choice_(std::move(on_choice)) {
    Bind(wxEVT_MENU, [this](wxCommandEvent& event) {
      // Ids are offset: wx keeps a few of its own low ones.
      CallAfter([this, id = event.GetId() - kIdBase] { on_choice_(id); });
    });
    Bind(wxEVT_TASKBAR_LEFT_DCLICK, [this](wxTaskBarIconEvent&) {
      // A double click on the icon does what the menu's first entry does: shows or hides the
      // window.
      if (!entries_.empty() && entries_.front().kind == TrayEntry::kAction) {
        on_choice_(entries_.front().id);
      }
    });
    Place();
  }
  ~NotificationAreaTray() override { RemoveIcon(); }

  bool Shown() const override { return shown_; }

  void SetMenu(const std::vector<TrayEntry>& entries) override { entries_ = entries; }

  void SetTooltip(const std::u16string& text) override {
    tooltip_ = text;
    Place();
  }

 private:
  static constexpr int kIdBase = wxID_HIGHEST + 1;

  void Place() {
    const wxIcon icon = AppIcons().GetIcon(wxSize(16, 16), wxIconBundle::FALLBACK_NEAREST_LARGER);
    shown_ = wxTaskBarIcon::IsAvailable() && SetIcon(icon.IsOk() ? icon : wxIcon(), ToWx(tooltip_));
    if (!shown_) DebugTrace("tray", "the notification area took no icon");
  }

  wxMenu* CreatePopupMenu() override {
    auto* menu = new wxMenu;
    Fill(*menu, entries_);
    return menu;
  }

  static void Fill(wxMenu& menu, const std::vector<TrayEntry>& entries) {
    for (const TrayEntry& entry : entries) {
      switch (entry.kind) {
        case TrayEntry::kSeparator:
          menu.AppendSeparator();
          break;
        case TrayEntry::kCheck:
          menu.AppendCheckItem(kIdBase + entry.id, ToWx(entry.label))->Check(entry.checked);
          break;
        case TrayEntry::kSubmenu: {
          auto* submenu = new wxMenu;
          Fill(*submenu, entry.children);
          menu.AppendSubMenu(submenu, ToWx(entry.label))->Enable(entry.enabled);
          continue;
        }
        case TrayEntry::kAction:
          menu.Append(kIdBase + entry.id, ToWx(entry.label));
          break;
      }
      if (entry.kind != TrayEntry::kSeparator && !entry.enabled)
        menu.Enable(kIdBase + entry.id, false);
    }
  }

  std::function<void(int)> on_choice_;
  std::vector<TrayEntry> entries_;
  std::u16string tooltip_ = u"塔沃高清影音";
  bool shown_ = false;
};

}  // namespace

std::unique_ptr<Tray> CreateTray(std::function<void(int)> on_choice, std::function<void()>) {
  return std::make_unique<NotificationAreaTray>(std::move(on_choice));
}

}  // namespace talvo
