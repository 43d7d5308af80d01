// The fair floor of a channel switch: a plain engine view with the engine's defaults beside a list
// of rows, each row's click loading its address, as the client's channel list does.
// usage: bare_switch_view URL...
#include <gtk/gtk.h>
#include <webkit2/webkit2.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

// Rows as tall as the client's list rows, so a click lands on the row the bench means.
constexpr int kRowPx = 18;

std::vector<std::string> addresses;

// Tells the bench where each row's middle lies in the window, once it is on screen.
gboolean PrintRowMiddles(gpointer list) {
  GtkWidget* window = gtk_widget_get_toplevel(GTK_WIDGET(list));
  for (int i = 0; GtkListBoxRow* row = gtk_list_box_get_row_at_index(GTK_LIST_BOX(list), i); ++i) {
    int x = 0, y = 0;
    gtk_widget_translate_coordinates(GTK_WIDGET(row), window, 0,
                                     gtk_widget_get_allocated_height(GTK_WIDGET(row)) / 2, &x, &y);
    std::printf("%d\n", y);
  }
  std::fflush(stdout);
  return G_SOURCE_REMOVE;
}

void OnRowActivated(GtkListBox*, GtkListBoxRow* row, gpointer view) {
  const int index = gtk_list_box_row_get_index(row);
  webkit_web_view_load_uri(WEBKIT_WEB_VIEW(view), addresses[index].c_str());
}

}  // namespace

int main(int argc, char** argv) {
  gtk_init(&argc, &argv);
  addresses.assign(argv + 1, argv + argc);
  WebKitWebsitePolicies* policies =
      webkit_website_policies_new_with_policies("autoplay", WEBKIT_AUTOPLAY_ALLOW, nullptr);
  GtkWidget* view =
      GTK_WIDGET(g_object_new(WEBKIT_TYPE_WEB_VIEW, "website-policies", policies, nullptr));
  GtkWidget* list = gtk_list_box_new();
  for (const std::string& address : addresses) {
    GtkWidget* label = gtk_label_new(address.substr(address.rfind('/') + 1).c_str());
    gtk_widget_set_size_request(label, 129, kRowPx);
    gtk_list_box_insert(GTK_LIST_BOX(list), label, -1);
  }
  g_signal_connect(list, "row-activated", G_CALLBACK(OnRowActivated), view);
  GtkWidget* box = gtk_box_new(GTK_ORIENTATION_HORIZONTAL, 0);
  gtk_box_pack_start(GTK_BOX(box), list, FALSE, FALSE, 0);
  gtk_box_pack_start(GTK_BOX(box), view, TRUE, TRUE, 0);
  GtkWidget* window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
  gtk_window_set_title(GTK_WINDOW(window), "bare switch view");
  gtk_window_set_default_size(GTK_WINDOW(window), 917, 580);
  gtk_container_add(GTK_CONTAINER(window), box);
  g_signal_connect(window, "destroy", G_CALLBACK(gtk_main_quit), nullptr);
  gtk_widget_show_all(window);
  g_signal_connect_swapped(window, "map-event", G_CALLBACK(+[](gpointer list) {
                             g_timeout_add(100, PrintRowMiddles, list);
                             return FALSE;
                           }),
                           list);
  gtk_main();
  return 0;
}
