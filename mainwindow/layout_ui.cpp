#include "mainwindow/layout_ui.h"

#include <wx/button.h>
#include <wx/frame.h>
#include <wx/listbox.h>

#include "mainwindow/design.h"
#include "mainwindow/panel_bar.h"
#include "platform/accessible_ui.h"
#include "platform/clickable_menu_bar.h"
#include "platform/web/browser_view.h"
#include "platform/wx_text.h"

namespace talvo {

ViewLayout::ViewLayout(const Form1Parts& parts)
    : parts_(parts),
      list1_(parts.list1, design::kList1),
      list2_(parts.list2, design::kList2),
      command2_(parts.command2, design::kCommand2),
      command3_(parts.command3, design::kCommand3),
      image1_(parts.image1, design::kImage1),
      // The first show and every change of size; nothing is laid out before the window is shown.
      on_show_(parts.frame, wxEVT_SHOW,
               [this](wxShowEvent& event) {
                 event.Skip();
                 if (event.IsShown()) Form_Resize();
               }),
      on_size_(parts.frame, wxEVT_SIZE, [this](wxSizeEvent& event) {
        event.Skip();
        if (parts_.frame->IsShown()) Form_Resize();
      }) {
  parts_.menus->SetOnClick(kJiemu, [this] { jiemu_Click(); });
  parts_.menus->SetOnClick(kJiemian, [this] { jiemian_Click(); });
  parts_.image1->SetOnClick([this] { Image1_Click(); });
}

// The menu bar and the panel bar outlive the unit: nothing of it may stay behind on them.
ViewLayout::~ViewLayout() {
  parts_.menus->SetOnClick(kJiemu, nullptr);
  parts_.menus->SetOnClick(kJiemian, nullptr);
  parts_.image1->SetOnClick(nullptr);
}

void ViewLayout::Form_Resize() {
  if (suspended_) return;
  const double dpi = DesktopTextDpi();
  const wxSize outer = parts_.frame->GetSize();
  LayoutInput input;
  input.outer_width = static_cast<float>(PixelsToTwips(outer.x, dpi));
  input.outer_height = static_cast<float>(PixelsToTwips(outer.y, dpi));
  input.view_mode = view_mode_;
  // The level is read back from the title on purpose: the title is what the sign-in wrote, so
  // the layout follows whatever the window shows, including a title set by the service's reply.
  input.vip = IsVipTitle(FromWx(parts_.frame->GetTitle()));
  const auto rect = [](const TwipsPlaced& view) {
    return TwipsRect{view.Left(), view.Top(), view.Width(), view.Height()};
  };
  input.web_browser1 = rect(*parts_.web_browser1);
  input.web_browser2 = rect(*parts_.web_browser2);
  for (const LayoutStep& step : FormResize(input)) Apply(step);
  // The channel list is drawn over the station list and the border buttons: what lies under it
  // (all but the pixel the design's twips leave below it) is out of sight, as a hidden part is,
  // and Tab and the screen readers pass over it.
  wxWindow* const channels = parts_.list2;
  const wxRect over = channels->IsShown() ? wxRect(channels->GetRect()).Inflate(0, 2) : wxRect();
  for (wxWindow* part :
       {channels, static_cast<wxWindow*>(parts_.list1), static_cast<wxWindow*>(parts_.command2),
        static_cast<wxWindow*>(parts_.command3)}) {
    PassOver(part, !part->IsShown() || (part != channels && over.Contains(part->GetRect())));
  }
}

void ViewLayout::Apply(const LayoutStep& step) {
  TwipsPlaced* target = nullptr;
  switch (step.part) {
    case LayoutPart::kList1:
      target = &list1_;
      break;
    case LayoutPart::kList2:
      target = &list2_;
      break;
    case LayoutPart::kCommand2:
      target = &command2_;
      break;
    case LayoutPart::kCommand3:
      target = &command3_;
      break;
    case LayoutPart::kImage1:
      target = &image1_;
      break;
    case LayoutPart::kWebBrowser1:
      target = parts_.web_browser1;
      break;
    case LayoutPart::kWebBrowser2:
      target = parts_.web_browser2;
      break;
  }
  if (step.action == LayoutAction::kShow || step.action == LayoutAction::kHide) {
    target->Window()->Show(step.action == LayoutAction::kShow);
    return;
  }
  const TwipsRect now{target->Left(), target->Top(), target->Width(), target->Height()};
  target->SetRect(AfterStep(now, step));
}

void ViewLayout::jiemu_Click() {
  view_mode_ = kTvView;
  Form_Resize();
}

void ViewLayout::jiemian_Click() {
  view_mode_ = kRadioView;
  Form_Resize();
}

void ViewLayout::Image1_Click() {
  view_mode_ = ViewModeAfterPanelBar(view_mode_);
  Form_Resize();
}

}  // namespace talvo
