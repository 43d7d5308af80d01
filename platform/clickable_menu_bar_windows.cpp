#include <windows.h>
#include <wx/menu.h>

#include "platform/clickable_menu_bar.h"

namespace talvo {

int MenuBarMinimumWidth(wxMenuBar* bar) { return bar->GetBestSize().x; }

// The system's bar acts on the entry the keyboard chose by itself.
bool HeldForKeyboardChoice(wxMenu*, ClickableMenuBar*) { return false; }

void ReleaseMenuBar(wxMenuBar*) { ::EndMenu(); }  // the entry's empty drop-down

}  // namespace talvo
