#include "mainwindow/panel_bar.h"

#include <wx/dcbuffer.h>

#include "mainwindow/design.h"
#include "platform/web/browser_view.h"

namespace talvo {

PanelBar::PanelBar(wxWindow* parent) : wxWindow(parent, wxID_ANY) {
  SetName("Image1");
  SetBackgroundStyle(wxBG_STYLE_PAINT);
  SetCursor(wxCursor(wxCURSOR_SIZEWE));
  PlaceInTwips(this, design::kImage1);
  Bind(wxEVT_PAINT, &PanelBar::OnPaint, this);
  Bind(wxEVT_LEFT_UP, [this](wxMouseEvent&) {
    if (on_click_) on_click_();
  });
}

void PanelBar::OnPaint(wxPaintEvent&) {
  wxAutoBufferedPaintDC dc(this);
  const wxSize size = GetClientSize();
  dc.SetPen(wxPen(wxColour(135, 190, 235)));
  dc.SetBrush(wxBrush(wxColour(40, 170, 60)));
  dc.DrawRectangle(0, 0, size.x, size.y);
  // The arrow: a small white triangle at mid-height, pointing right.
  const int mid = size.y / 2;
  const int reach = std::max(1, size.x - 2);
  const wxPoint arrow[] = {{1, mid - reach}, {1, mid + reach}, {1 + reach, mid}};
  dc.SetPen(*wxWHITE_PEN);
  dc.SetBrush(*wxWHITE_BRUSH);
  dc.DrawPolygon(3, arrow);
}

}  // namespace talvo
