#include <wx/window.h>

#include <gdk/gdk.h>

#include "platform/twips_ui.h"

namespace talvo {

double DesktopTextDpi() {
  if (GdkScreen* screen = gdk_screen_get_default()) return gdk_screen_get_resolution(screen);
  return kDefaultTextDpi;
}

// GTK draws siblings in the order they were made already.
void StackAsMade(wxWindow*) {}

}  // namespace talvo
