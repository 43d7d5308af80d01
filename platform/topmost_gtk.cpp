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

void MoveOnceMapped(wxTopLevelWindow* window, int x, int y) {
  auto* widget = static_cast<GtkWidget*>(window->GetHandle());
  if (!GTK_IS_WINDOW(widget)) return;
  if (gtk_widget_get_mapped(widget)) {
    gtk_window_move(GTK_WINDOW(widget), x, y);
    return;
  }
  struct Place {
    int x;
    int y;
  };
  g_signal_connect_data(
      widget, "map-event", G_CALLBACK(+[](GtkWidget* mapped, GdkEvent*, gpointer data) {
        const auto* place = static_cast<Place*>(data);
        gtk_window_move(GTK_WINDOW(mapped), place->x, place->y);
        g_signal_handlers_disconnect_matched(mapped, G_SIGNAL_MATCH_DATA, 0, 0, nullptr, nullptr,
                                             data);
        return FALSE;
      }),
      new Place{x, y}, +[](gpointer data, GClosure*) { delete static_cast<Place*>(data); },
      static_cast<GConnectFlags>(0));
}

void BringForward(wxTopLevelWindow* window, const std::string& startup_id) {
  auto* widget = static_cast<GtkWidget*>(window->GetHandle());
  if (!GTK_IS_WINDOW(widget)) return;
  // The id carries the time of the viewer's click, against which the window manager weighs the
  // request; without one the request is as recent as can be.
  if (!startup_id.empty()) {
    gtk_window_set_startup_id(GTK_WINDOW(widget), startup_id.c_str());
  } else {
    gtk_window_present_with_time(GTK_WINDOW(widget), GDK_CURRENT_TIME);
  }
}

}  // namespace talvo
