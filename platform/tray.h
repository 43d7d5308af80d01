// The client's icon in the desktop's tray, its menu and its tooltip: a StatusNotifierItem on Linux
// (libayatana-appindicator: what GNOME's AppIndicator extension, KDE, Xfce and Cinnamon show), the
// notification area on Windows. One implementation a system.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/tray_entry.h"

namespace talvo {

class Tray {
 public:
  virtual ~Tray() = default;
  // Whether the desktop shows the icon now: on Linux a StatusNotifierWatcher took the item.
  virtual bool Shown() const = 0;
  // The menu, made again whole: a tray's menu is small.
  virtual void SetMenu(const std::vector<TrayEntry>& entries) = 0;
  // What the tray says on hover (on Linux the item's title, which hosts show there).
  virtual void SetTooltip(const std::u16string& text) = 0;
};

// The icon with the program's own picture. `on_choice` runs with the id of the entry chosen;
// `on_shown` whenever the desktop starts or stops showing the icon.
std::unique_ptr<Tray> CreateTray(std::function<void(int)> on_choice,
                                 std::function<void()> on_shown);

}  // namespace talvo
