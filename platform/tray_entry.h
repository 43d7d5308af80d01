// One entry of the tray's menu, as the client's window code describes it and each system's tray
// makes it: plain data, without the toolkit.
#pragma once

#include <string>
#include <vector>

namespace talvo {

struct TrayEntry {
  enum Kind { kAction, kCheck, kSeparator, kSubmenu };
  Kind kind = kAction;
  int id = 0;  // what a choice reports; its own for every action and check
  std::u16string label;
  bool checked = false;
  bool enabled = true;
  std::vector<TrayEntry> children;  // a submenu's
  bool operator==(const TrayEntry&) const = default;
};

}  // namespace talvo
