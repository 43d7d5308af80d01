#include <windows.h>
#include <wx/frame.h>
#include <wx/menu.h>

#include "platform/clickable_menu_bar.h"

namespace talvo {

int MenuBarMinimumWidth(wxMenuBar* bar) { return bar->GetBestSize().x; }

// The system's bar acts on the entry the keyboard chose by itself.
bool HeldForKeyboardChoice(wxMenu*, ClickableMenuBar*) { return false; }

void ReleaseMenuBar(wxMenuBar*) { ::EndMenu(); }  // the entry's empty drop-down

// The bar's menu is taken off the window and put back, as wx's own fullscreen does.
void ShowMenuBar(wxFrame* frame, wxMenuBar* bar, bool shown) {
  ::SetMenu(static_cast<HWND>(frame->GetHandle()),
            shown ? static_cast<HMENU>(bar->GetHMenu()) : nullptr);
  frame->SendSizeEvent();
}

}  // namespace talvo
