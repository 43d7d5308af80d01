// On Windows the icon is the executable's own resource (app/talvo.rc.in): the shell, the taskbar
// and every window show it.
#include <wx/iconbndl.h>
#include <wx/msw/wrapwin.h>

#include "platform/app_icons.h"

namespace talvo {

// A program without the resource (a test) has no icon of its own, and says nothing about it.
const wxIconBundle& AppIcons() {
  static const wxIconBundle bundle =
      ::FindResourceW(nullptr, L"AAA_TALVO", RT_GROUP_ICON) != nullptr
          ? wxIconBundle(L"AAA_TALVO", nullptr)
          : wxIconBundle();
  return bundle;
}

// The desktop knows the program by its executable and its Start-menu entry.
void AnnounceApplication() {}

}  // namespace talvo
