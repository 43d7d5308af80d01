// On Windows the icon is the executable's own resource (app/talvo.rc.in): the shell, the taskbar
// and every window show it.
#include <wx/iconbndl.h>

#include "platform/app_icons.h"

namespace talvo {

const wxIconBundle& AppIcons() {
  static const wxIconBundle bundle(wxIconBundle(L"AAA_TALVO", nullptr));
  return bundle;
}

// The desktop knows the program by its executable and its Start-menu entry.
void AnnounceApplication() {}

}  // namespace talvo
