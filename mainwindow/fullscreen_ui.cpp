#include "mainwindow/fullscreen_ui.h"

#include <wx/button.h>
#include <wx/frame.h>
#include <wx/listbox.h>

#include "mainwindow/fullscreen.h"
#include "mainwindow/layout_ui.h"
#include "mainwindow/panel_bar.h"
#include "platform/clickable_menu_bar.h"
#include "platform/twips_ui.h"
#include "platform/web/browser_view.h"

namespace talvo {

Fullscreen::Fullscreen(const Form1Parts& parts, ViewLayout& layout)
    : parts_(parts),
      layout_(layout),
      keys_(parts.frame, [this](TopLevelKey key, bool modified) { return OnKey(key, modified); }),
      on_size_(parts.frame, wxEVT_SIZE, [this](wxSizeEvent& event) {
        event.Skip();
        if (active_) CoverClientArea();
      }) {
  others_ = {parts_.list1,    parts_.list2,  parts_.command2,
             parts_.command3, parts_.image1, parts_.web_browser2->Window()};
  parts_.web_browser1->SetFullscreenChanged([this](bool entered) {
    if (entered) {
      Enter();
    } else {
      Leave();
    }
  });
}

// The playback view outlives the unit.
Fullscreen::~Fullscreen() { parts_.web_browser1->SetFullscreenChanged(nullptr); }

bool Fullscreen::OnKey(TopLevelKey key, bool modified) {
  if (zap_ && IsZapKey(key, modified, active_, parts_.web_browser1->TypingInPage())) {
    zap_(key);
    return true;
  }
  switch (FullscreenKey(key, modified, active_)) {
    case FullscreenChange::kEnter:
      Enter();
      return true;
    case FullscreenChange::kLeave:
      Leave();
      return true;
    case FullscreenChange::kNone:
      return false;
  }
  return false;
}

void Fullscreen::Enter() {
  if (active_) return;
  active_ = true;
  BrowserView& playback = *parts_.web_browser1;
  playback_rect_ = {playback.Left(), playback.Top(), playback.Width(), playback.Height()};
  keys_.RememberFocus();
  for (std::size_t i = 0; i < others_.size(); ++i) {
    shown_[i] = others_[i]->IsShown();
    others_[i]->Hide();
  }
  // The layout belongs to the window as it was; it resumes when fullscreen ends, unless the
  // window was the small one.
  layout_was_suspended_ = layout_.Suspended();
  bar_was_shown_ = parts_.menus->BarShown();
  layout_.Suspend(true);
  parts_.frame->ShowFullScreen(true, wxFULLSCREEN_ALL);
  CoverClientArea();
}

void Fullscreen::Leave() {
  if (!active_) return;
  active_ = false;
  // A page in its own fullscreen leaves it too.
  parts_.web_browser1->ExitPageFullscreen();
  parts_.frame->ShowFullScreen(false);
  // The toolkit puts the menu bar back, which the small window had taken off.
  if (!bar_was_shown_) parts_.menus->ShowBar(false);
  for (std::size_t i = 0; i < others_.size(); ++i) others_[i]->Show(shown_[i]);
  parts_.web_browser1->SetRect(playback_rect_);
  layout_.Suspend(layout_was_suspended_);
  keys_.RestoreFocus();
}

void Fullscreen::CoverClientArea() {
  const wxSize client = parts_.frame->GetClientSize();
  const double dpi = DesktopTextDpi();
  parts_.web_browser1->SetRect({0, 0, PixelsToTwips(client.x, dpi), PixelsToTwips(client.y, dpi)});
}

}  // namespace talvo
