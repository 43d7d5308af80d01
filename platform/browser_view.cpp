#include "platform/browser_view.h"

#include <wx/window.h>

namespace talvo {

BrowserView::~BrowserView() = default;

void BrowserView::SetLeft(double twips) {
  rect_.left = twips;
  Apply();
}

void BrowserView::SetTop(double twips) {
  rect_.top = twips;
  Apply();
}

void BrowserView::SetWidth(double twips) {
  if (twips < 0) return;
  rect_.width = twips;
  Apply();
}

void BrowserView::SetHeight(double twips) {
  if (twips < 0) return;
  rect_.height = twips;
  Apply();
}

void BrowserView::SetRect(const TwipsRect& rect) {
  rect_.left = rect.left;
  rect_.top = rect.top;
  if (rect.width >= 0) rect_.width = rect.width;
  if (rect.height >= 0) rect_.height = rect.height;
  Apply();
}

void BrowserView::Apply() { PlaceInTwips(window_, rect_); }

void PlaceInTwips(wxWindow* window, const TwipsRect& rect) {
  if (window == nullptr) return;
  const double scale = window->GetDPIScaleFactor();
  window->SetSize(TwipsToPixels(rect.left, scale), TwipsToPixels(rect.top, scale),
                  TwipsToPixels(rect.width, scale), TwipsToPixels(rect.height, scale),
                  wxSIZE_ALLOW_MINUS_ONE);
}

}  // namespace talvo
