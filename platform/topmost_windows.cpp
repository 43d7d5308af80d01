#include <windows.h>
#include <wx/toplevel.h>

#include "platform/topmost.h"

namespace talvo {

void KeepAbove(wxTopLevelWindow* window, bool above) {
  if (window == nullptr) return;
  ::SetWindowPos(static_cast<HWND>(window->GetHandle()), above ? HWND_TOPMOST : HWND_NOTOPMOST, 0,
                 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void KeepOffTaskbar(wxTopLevelWindow*) {}

// Windows opens a window where the program puts it.
void MoveOnceMapped(wxTopLevelWindow* window, int x, int y) { window->Move(x, y); }

// The later start allowed this process the foreground before it ended.
void BringForward(wxTopLevelWindow* window, const std::string&) {
  window->Raise();
  ::SetForegroundWindow(static_cast<HWND>(window->GetHandle()));
}

}  // namespace talvo
