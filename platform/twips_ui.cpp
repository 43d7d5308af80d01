#include "platform/twips_ui.h"

#include <wx/window.h>

namespace talvo {

void TwipsPlaced::SetWidth(double twips) {
  if (twips < 0) return;
  rect_.width = twips;
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

void PlaceInTwips(wxWindow* window, const TwipsRect& rect) {
  if (window == nullptr) return;
  const double dpi = DesktopTextDpi();
  window->SetSize(TwipsToPixels(rect.left, dpi), TwipsToPixels(rect.top, dpi),
                  TwipsToPixels(rect.width, dpi), TwipsToPixels(rect.height, dpi),
                  wxSIZE_ALLOW_MINUS_ONE);
}

}  // namespace talvo
