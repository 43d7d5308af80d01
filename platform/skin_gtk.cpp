#include <wx/frame.h>
#include <wx/menu.h>

#include <gtk/gtk.h>

#include <string>

#include "platform/skin_ui.h"

namespace talvo {

// wx can only ask a created window; the screen is what decides.
bool ScreenShowsTranslucent() {
  GdkScreen* screen = gdk_screen_get_default();
  return screen != nullptr && gdk_screen_is_composited(screen) &&
         gdk_screen_get_rgba_visual(screen) != nullptr;
}

// The theme leaves the menu bar to the window's background, which is the skin's to paint.
void PaintMenuBarBackground(wxTopLevelWindow* window, void*& style, const wxColour& colour,
                            double opacity) {
  auto* frame = dynamic_cast<wxFrame*>(window);
  if (frame == nullptr || frame->GetMenuBar() == nullptr) return;
  auto* bar = static_cast<GtkWidget*>(frame->GetMenuBar()->GetHandle());
  if (bar == nullptr) return;
  if (style == nullptr) {
    style = gtk_css_provider_new();
    gtk_style_context_add_provider(gtk_widget_get_style_context(bar), GTK_STYLE_PROVIDER(style),
                                   GTK_STYLE_PROVIDER_PRIORITY_APPLICATION);
  }
  const std::string css = "menubar { background-color: rgba(" + std::to_string(colour.Red()) + "," +
                          std::to_string(colour.Green()) + "," + std::to_string(colour.Blue()) +
                          "," + std::to_string(opacity) + "); }";
  gtk_css_provider_load_from_data(GTK_CSS_PROVIDER(style), css.c_str(), -1, nullptr);
}

void FreeMenuBarStyle(void* style) {
  if (style != nullptr) g_object_unref(style);
}

}  // namespace talvo
