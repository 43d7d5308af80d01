// The parts of the main window that its features share, named once. Form1 creates them and
// fills this in; each feature unit takes a reference and binds its own events.
#pragma once

#include "platform/config.h"

class wxButton;
class wxFrame;
class wxListBox;
class wxTimer;

namespace talvo {

class BrowserView;
class ClickableMenuBar;
class PanelBar;
class Skin;

// The menu bar's entries, left to right.
enum MenuEntry { kJiemu, kJiemian, kDenglu, kChuangkou, kN1 };

struct Form1Parts {
  wxFrame* frame = nullptr;
  const Config* config = nullptr;
  BrowserView* web_browser1 = nullptr;  // playback view
  BrowserView* web_browser2 = nullptr;  // service view
  ClickableMenuBar* menus = nullptr;    // entries in the order of MenuEntry
  Skin* skin = nullptr;
  wxListBox* list1 = nullptr;    // stations
  wxListBox* list2 = nullptr;    // channels
  wxButton* command2 = nullptr;  // 透明边框
  wxButton* command3 = nullptr;  // 取消透明
  PanelBar* image1 = nullptr;    // the panel bar
  wxTimer* timer1 = nullptr;     // the station list's one tick
};

}  // namespace talvo
