#include <gtk/gtk.h>
#include <wx/window.h>

#include <string_view>
#include <vector>

#include "core/utf.h"
#include "platform/accessible_ui.h"

namespace talvo {
namespace {

constexpr const char* kOwnRoleKey = "talvo-own-role";
constexpr const char* kOwnFocusKey = "talvo-own-focus";

AtkObject* AccessibleOf(wxWindow* window) {
  return window != nullptr && window->GetHandle() != nullptr
             ? gtk_widget_get_accessible(window->GetHandle())
             : nullptr;
}

// The widget and, down to the one that takes the focus, each container that holds a single
// widget: a list box is a tree view in a scrolled window, a page view the engine's view in two.
std::vector<GtkWidget*> WidgetsOf(wxWindow* window) {
  std::vector<GtkWidget*> widgets;
  for (GtkWidget* widget = window != nullptr ? window->GetHandle() : nullptr; widget != nullptr;) {
    widgets.push_back(widget);
    if (!GTK_IS_CONTAINER(widget)) break;
    GList* children = gtk_container_get_children(GTK_CONTAINER(widget));
    widget = g_list_length(children) == 1 ? GTK_WIDGET(children->data) : nullptr;
    g_list_free(children);
  }
  return widgets;
}

}  // namespace

void NameForReaders(wxWindow* window, const std::u16string& name) {
  const std::string utf8 = Utf16ToUtf8(name);
  for (GtkWidget* widget : WidgetsOf(window)) {
    atk_object_set_name(gtk_widget_get_accessible(widget), utf8.c_str());
  }
}

void ReadAsButton(wxWindow* window, const std::u16string& name) {
  NameForReaders(window, name);
  if (AtkObject* accessible = AccessibleOf(window)) {
    atk_object_set_role(accessible, ATK_ROLE_PUSH_BUTTON);
  }
}

void NameRowForReaders(wxWindow* list, unsigned row, const std::u16string& name) {
  const std::vector<GtkWidget*> widgets = WidgetsOf(list);
  if (widgets.empty() || !GTK_IS_TREE_VIEW(widgets.back())) return;
  AtkObject* table = gtk_widget_get_accessible(widgets.back());
  if (!ATK_IS_TABLE(table)) return;
  if (AtkObject* cell = atk_table_ref_at(ATK_TABLE(table), static_cast<gint>(row), 0)) {
    atk_object_set_name(cell, Utf16ToUtf8(name).c_str());
    g_object_unref(cell);
  }
}

// ATK has no way to leave a child out of its parent's children; a redundant object is what
// readers are told to pass over.
void PassOver(wxWindow* window, bool passed) {
  for (GtkWidget* widget : WidgetsOf(window)) {
    AtkObject* accessible = gtk_widget_get_accessible(widget);
    const gpointer own = g_object_get_data(G_OBJECT(widget), kOwnRoleKey);
    if (passed && own == nullptr) {
      // The role, and whether it took the focus, kept to be given back (+1: never null).
      g_object_set_data(G_OBJECT(widget), kOwnRoleKey,
                        GINT_TO_POINTER(atk_object_get_role(accessible) + 1));
      g_object_set_data(G_OBJECT(widget), kOwnFocusKey,
                        GINT_TO_POINTER(gtk_widget_get_can_focus(widget) ? 2 : 1));
      atk_object_set_role(accessible, ATK_ROLE_REDUNDANT_OBJECT);
      gtk_widget_set_can_focus(widget, FALSE);
    } else if (!passed && own != nullptr) {
      atk_object_set_role(accessible, static_cast<AtkRole>(GPOINTER_TO_INT(own) - 1));
      gtk_widget_set_can_focus(
          widget, GPOINTER_TO_INT(g_object_get_data(G_OBJECT(widget), kOwnFocusKey)) == 2);
      g_object_set_data(G_OBJECT(widget), kOwnRoleKey, nullptr);
    }
  }
}

bool HighContrastDesktop() {
  gchar* theme = nullptr;
  g_object_get(gtk_settings_get_default(), "gtk-theme-name", &theme, nullptr);
  const bool high = theme != nullptr && std::string_view(theme).starts_with("HighContrast");
  g_free(theme);
  return high;
}

// ATK's announcement (2.46 on): the bridge hands it to the readers as object:announcement.
void AnnounceToReaders(wxWindow* window, const std::u16string& text) {
  if (window == nullptr || g_signal_lookup("announcement", ATK_TYPE_OBJECT) == 0) return;
  wxWindow* top = wxGetTopLevelParent(window);
  AtkObject* accessible = AccessibleOf(top != nullptr ? top : window);
  if (accessible != nullptr) {
    g_signal_emit_by_name(accessible, "announcement", Utf16ToUtf8(text).c_str());
  }
}

void TabFrom(wxWindow* window, bool backward) {
  if (window == nullptr || window->GetHandle() == nullptr) return;
  GtkWidget* top = gtk_widget_get_toplevel(window->GetHandle());
  if (gtk_widget_is_toplevel(top)) {
    gtk_widget_child_focus(top, backward ? GTK_DIR_TAB_BACKWARD : GTK_DIR_TAB_FORWARD);
  }
}

}  // namespace talvo
