#include <wx/toplevel.h>

#include <gtk/gtk.h>

#include "platform/topmost.h"

namespace talvo {

// The window manager's _NET_WM_STATE_ABOVE, asked for directly: changing wx's style flag instead
// would also re-apply the window's size hints.
void KeepAbove(wxTopLevelWindow* window, bool above) {
  if (window == nullptr) return;
  if (auto* widget = static_cast<GtkWidget*>(window->GetHandle()); GTK_IS_WINDOW(widget)) {
    gtk_window_set_keep_above(GTK_WINDOW(widget), above ? TRUE : FALSE);
  }
}

void KeepOffTaskbar(wxTopLevelWindow* window) {
  if (auto* widget = static_cast<GtkWidget*>(window->GetHandle()); GTK_IS_WINDOW(widget)) {
    gtk_window_set_skip_taskbar_hint(GTK_WINDOW(widget), TRUE);
  }
}

}  // namespace talvo
