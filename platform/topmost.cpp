#include "platform/topmost.h"

#include <wx/toplevel.h>

#ifdef __WXGTK__
#include <gtk/gtk.h>
#endif
#ifdef __WXMSW__
#include <windows.h>
#endif

namespace talvo {

void KeepAbove(wxTopLevelWindow* window, bool above) {
  if (window == nullptr) return;
#ifdef __WXGTK__
  // The window manager's _NET_WM_STATE_ABOVE, asked for directly: changing wx's style flag
  // instead would also re-apply the window's size hints.
  if (auto* widget = static_cast<GtkWidget*>(window->GetHandle()); GTK_IS_WINDOW(widget)) {
    gtk_window_set_keep_above(GTK_WINDOW(widget), above ? TRUE : FALSE);
  }
#elif defined(__WXMSW__)
  ::SetWindowPos(static_cast<HWND>(window->GetHandle()), above ? HWND_TOPMOST : HWND_NOTOPMOST, 0,
                 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
#else
  long style = window->GetWindowStyleFlag();
  window->SetWindowStyleFlag(above ? style | wxSTAY_ON_TOP : style & ~wxSTAY_ON_TOP);
#endif
}

}  // namespace talvo
