#include "mainwindow/picture_alone_ui.h"

#include <wx/button.h>
#include <wx/frame.h>
#include <wx/listbox.h>

#include "mainwindow/panel_bar.h"
#include "platform/twips_ui.h"
#include "platform/web/browser_view.h"

namespace talvo {

PictureAlone::PictureAlone(const Form1Parts& parts)
    : parts_(parts), others_{parts.list1,    parts.list2,  parts.command2,
                             parts.command3, parts.image1, parts.web_browser2->Window()} {}

void PictureAlone::HideOthers() {
  const BrowserView& playback = *parts_.web_browser1;
  playback_rect_ = {playback.Left(), playback.Top(), playback.Width(), playback.Height()};
  for (std::size_t i = 0; i < others_.size(); ++i) {
    shown_[i] = others_[i]->IsShown();
    others_[i]->Hide();
  }
}

void PictureAlone::ShowOthers() {
  for (std::size_t i = 0; i < others_.size(); ++i) others_[i]->Show(shown_[i]);
  parts_.web_browser1->SetRect(playback_rect_);
}

void PictureAlone::CoverClientArea() {
  const wxSize client = parts_.frame->GetClientSize();
  const double dpi = DesktopTextDpi();
  parts_.web_browser1->SetRect({0, 0, PixelsToTwips(client.x, dpi), PixelsToTwips(client.y, dpi)});
}

}  // namespace talvo
