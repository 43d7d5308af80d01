#include "mainwindow/panel_bar.h"

#include <wx/dcbuffer.h>
#include <wx/settings.h>

#include "mainwindow/design.h"
#include "platform/accessible_ui.h"
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
  // From the keyboard as from the pointer; the focus is drawn, so that it is seen.
  Bind(wxEVT_KEY_DOWN, [this](wxKeyEvent& event) {
    const int key = event.GetKeyCode();
    if ((key == WXK_RETURN || key == WXK_NUMPAD_ENTER || key == WXK_SPACE) && on_click_) {
      on_click_();
    } else if (key == WXK_TAB && !event.ControlDown() && !event.AltDown()) {
      TabFrom(this, event.ShiftDown());
    } else {
      event.Skip();
    }
  });
  for (const auto type : {wxEVT_SET_FOCUS, wxEVT_KILL_FOCUS}) {
    Bind(type, [this](wxFocusEvent& event) {
      Refresh();
      event.Skip();
    });
  }
  ReadAsButton(this, u"显示或隐藏列表");
}

void PanelBar::OnPaint(wxPaintEvent&) {
  wxAutoBufferedPaintDC dc(this);
  const wxSize size = GetClientSize();
  const bool system = HighContrastDesktop();
  const wxColour face =
      system ? wxSystemSettings::GetColour(wxSYS_COLOUR_BTNFACE) : wxColour(40, 170, 60);
  const wxColour mark = system ? wxSystemSettings::GetColour(wxSYS_COLOUR_BTNTEXT) : *wxWHITE;
  dc.SetPen(system ? wxPen(mark) : wxPen(wxColour(135, 190, 235)));
  dc.SetBrush(wxBrush(face));
  dc.DrawRectangle(0, 0, size.x, size.y);
  // The arrow: a small white triangle at mid-height, pointing right.
  const int mid = size.y / 2;
  const int reach = std::max(1, size.x - 2);
  const wxPoint arrow[] = {{1, mid - reach}, {1, mid + reach}, {1 + reach, mid}};
  dc.SetPen(wxPen(mark));
  dc.SetBrush(wxBrush(mark));
  dc.DrawPolygon(3, arrow);
  if (HasFocus()) {
    dc.SetPen(wxPen(mark, 1, wxPENSTYLE_DOT));
    dc.SetBrush(*wxTRANSPARENT_BRUSH);
    dc.DrawRectangle(0, 0, size.x, size.y);
  }
}

}  // namespace talvo
