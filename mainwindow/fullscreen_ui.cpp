#include "mainwindow/fullscreen_ui.h"

#include <wx/frame.h>

#include "mainwindow/fullscreen.h"
#include "mainwindow/layout_ui.h"
#include "platform/clickable_menu_bar.h"
#include "platform/web/browser_view.h"

namespace talvo {

Fullscreen::Fullscreen(const Form1Parts& parts, ViewLayout& layout)
    : parts_(parts),
      layout_(layout),
      alone_(parts),
      keys_(parts.frame, [this](TopLevelKey key, bool modified) { return OnKey(key, modified); }),
      on_size_(parts.frame, wxEVT_SIZE, [this](wxSizeEvent& event) {
        event.Skip();
        if (active_) alone_.CoverClientArea();
      }) {
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
  keys_.RememberFocus();
  alone_.HideOthers();
  // The layout belongs to the window as it was; it resumes when fullscreen ends, unless the
  // window was the small one.
  layout_was_suspended_ = layout_.Suspended();
  bar_was_shown_ = parts_.menus->BarShown();
  layout_.Suspend(true);
  parts_.frame->ShowFullScreen(true, wxFULLSCREEN_ALL);
  alone_.CoverClientArea();
}

void Fullscreen::Leave() {
  if (!active_) return;
  active_ = false;
  // A page in its own fullscreen leaves it too.
  parts_.web_browser1->ExitPageFullscreen();
  parts_.frame->ShowFullScreen(false);
  // The toolkit puts the menu bar back, which the small window had taken off.
  if (!bar_was_shown_) parts_.menus->ShowBar(false);
  alone_.ShowOthers();
  layout_.Suspend(layout_was_suspended_);
  keys_.RestoreFocus();
}

}  // namespace talvo
