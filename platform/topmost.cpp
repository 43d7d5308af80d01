#include "platform/topmost.h"

#include <wx/toplevel.h>

#ifdef __WXGTK__
#include <gtk/gtk.h>
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
#else
  long style = window->GetWindowStyleFlag();
  window->SetWindowStyleFlag(above ? style | wxSTAY_ON_TOP : style & ~wxSTAY_ON_TOP);
#endif
}

}  // namespace talvo
