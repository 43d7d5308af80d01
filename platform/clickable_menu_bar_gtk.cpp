#include <wx/frame.h>
#include <wx/menu.h>

#include <gtk/gtk.h>

#include "platform/clickable_menu_bar.h"

namespace talvo {
namespace {

// Walking the bar with F10 and the arrows opens each entry's empty drop-down in turn: there the
// entry only acts on Enter or Space, as a person choosing it from the keyboard means.
gboolean OnDropDownKey(GtkWidget*, GdkEventKey* key, gpointer data) {
  if (key->keyval != GDK_KEY_Return && key->keyval != GDK_KEY_KP_Enter &&
      key->keyval != GDK_KEY_space) {
    return FALSE;
  }
  static_cast<ClickableMenuBar*>(data)->ActOnKeyboardChoice();
  return TRUE;
}

bool OpenedFromKeyboard() {
  GdkEvent* current = gtk_get_current_event();
  const bool keys = current != nullptr && current->type == GDK_KEY_PRESS;
  if (current != nullptr) gdk_event_free(current);
  return keys;
}

}  // namespace

int MenuBarMinimumWidth(wxMenuBar* bar) {
  int minimum = 0;
  int natural = 0;
  gtk_widget_get_preferred_width(static_cast<GtkWidget*>(bar->GetHandle()), &minimum, &natural);
  return minimum;
}

bool HeldForKeyboardChoice(wxMenu* drop_down, ClickableMenuBar* bar) {
  if (!OpenedFromKeyboard()) return false;
  if (!g_object_get_data(G_OBJECT(drop_down->m_menu), "talvo-keys")) {
    g_object_set_data(G_OBJECT(drop_down->m_menu), "talvo-keys", drop_down);
    g_signal_connect(drop_down->m_menu, "key-press-event", G_CALLBACK(&OnDropDownKey), bar);
  }
  return true;
}

// While the bar is active it holds the keyboard (GTK 3.24), also with an empty drop-down open.
void ReleaseMenuBar(wxMenuBar* bar) {
  if (auto* widget = static_cast<GtkWidget*>(bar->GetHandle()); GTK_IS_MENU_SHELL(widget)) {
    gtk_menu_shell_deactivate(GTK_MENU_SHELL(widget));
  }
}

void ShowMenuBar(wxFrame* frame, wxMenuBar* bar, bool shown) {
  // GTK's frame takes the bar's room back from the client area by itself.
  bar->Show(shown);
  frame->SendSizeEvent();
}

}  // namespace talvo
