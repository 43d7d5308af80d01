#include "platform/twips_ui.h"

#include <wx/window.h>

#ifdef __WXMSW__
#include <windows.h>
#endif
#ifdef __WXGTK__
#include <gdk/gdk.h>
#endif

namespace talvo {

void TwipsPlaced::SetLeft(double twips) {
  rect_.left = twips;
  Apply();
}

void TwipsPlaced::SetTop(double twips) {
  rect_.top = twips;
  Apply();
}

void TwipsPlaced::SetWidth(double twips) {
  if (twips < 0) return;
  rect_.width = twips;
  Apply();
}

void TwipsPlaced::SetHeight(double twips) {
  if (twips < 0) return;
  rect_.height = twips;
  Apply();
}

void TwipsPlaced::SetRect(const TwipsRect& rect) {
  rect_.left = rect.left;
  rect_.top = rect.top;
  if (rect.width >= 0) rect_.width = rect.width;
  if (rect.height >= 0) rect_.height = rect.height;
  Apply();
}

void TwipsPlaced::Apply() { PlaceInTwips(window_, rect_); }

double DesktopTextDpi() {
#ifdef __WXGTK__
  if (GdkScreen* screen = gdk_screen_get_default()) return gdk_screen_get_resolution(screen);
#endif
#ifdef __WXMSW__
  // The executable says it is DPI aware (app/talvo.rc.in): the system's text resolution holds.
  if (HDC screen = ::GetDC(nullptr)) {
    const int dpi = ::GetDeviceCaps(screen, LOGPIXELSY);
    ::ReleaseDC(nullptr, screen);
    if (dpi > 0) return dpi;
  }
#endif
  return kDefaultTextDpi;
}

void StackAsMade(wxWindow* parent) {
#ifdef __WXMSW__
  // Each child also stays out of the parts of the siblings above it when it paints.
  for (wxWindow* child : parent->GetChildren()) {
    const auto window = static_cast<HWND>(child->GetHandle());
    ::SetWindowLongPtrW(window, GWL_STYLE,
                        ::GetWindowLongPtrW(window, GWL_STYLE) | WS_CLIPSIBLINGS);
    ::SetWindowPos(window, HWND_TOP, 0, 0, 0, 0,
                   SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_FRAMECHANGED);
  }
#else
  (void)parent;
#endif
}

void PlaceInTwips(wxWindow* window, const TwipsRect& rect) {
  if (window == nullptr) return;
  const double dpi = DesktopTextDpi();
  window->SetSize(TwipsToPixels(rect.left, dpi), TwipsToPixels(rect.top, dpi),
                  TwipsToPixels(rect.width, dpi), TwipsToPixels(rect.height, dpi),
                  wxSIZE_ALLOW_MINUS_ONE);
}

}  // namespace talvo
