// The parts of the main window that its features share, named once. Form1 creates them and
// fills this in; each feature unit is made from a reference to it and, where it needs one, one
// other unit, and binds its own events.
#pragma once

#include "platform/window_parts.h"

class wxButton;
class wxListBox;
class wxTimer;

namespace talvo {

class ClickableMenuBar;
class PanelBar;
class Skin;

// The menu bar's entries, left to right: the six bulletin entries from kN1 on, then 定时关闭,
// 小窗 and 投屏.
enum MenuEntry {
  kJiemu,
  kJiemian,
  kDenglu,
  kChuangkou,
  kN1,
  kDingshi = kN1 + 6,
  kXiaochuang,
  kTouping
};

struct Form1Parts : WindowParts {
  ClickableMenuBar* menus = nullptr;  // entries in the order of MenuEntry
  Skin* skin = nullptr;
  wxListBox* list1 = nullptr;    // stations
  wxListBox* list2 = nullptr;    // channels
  wxButton* command2 = nullptr;  // 透明边框
  wxButton* command3 = nullptr;  // 取消透明
  PanelBar* image1 = nullptr;    // the panel bar
  wxTimer* timer1 = nullptr;     // the station list's one tick
};

}  // namespace talvo
