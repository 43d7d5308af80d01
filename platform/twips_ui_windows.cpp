#include <windows.h>
#include <wx/window.h>

#include "platform/twips_ui.h"

namespace talvo {

// The executable says it is DPI aware (app/talvo.rc.in): the system's text resolution holds.
double DesktopTextDpi() {
  if (HDC screen = ::GetDC(nullptr)) {
    const int dpi = ::GetDeviceCaps(screen, LOGPIXELSY);
    ::ReleaseDC(nullptr, screen);
    if (dpi > 0) return dpi;
  }
  return kDefaultTextDpi;
}

// Each child also stays out of the parts of the siblings above it when it paints.
void StackAsMade(wxWindow* parent) {
  for (wxWindow* child : parent->GetChildren()) {
    const auto window = static_cast<HWND>(child->GetHandle());
    ::SetWindowLongPtrW(window, GWL_STYLE,
                        ::GetWindowLongPtrW(window, GWL_STYLE) | WS_CLIPSIBLINGS);
    ::SetWindowPos(window, HWND_TOP, 0, 0, 0, 0,
                   SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_FRAMECHANGED);
  }
}

}  // namespace talvo
