#include "mainwindow/small_window_ui.h"

#include <wx/display.h>
#include <wx/frame.h>
#include <wx/textctrl.h>

#include "core/debug_trace.h"
#include "mainwindow/fullscreen.h"
#include "mainwindow/layout_ui.h"
#include "mainwindow/window_place_ui.h"
#include "platform/clickable_menu_bar.h"
#include "platform/topmost.h"
#include "platform/web/browser_view.h"

namespace talvo {
namespace {

// The screen the window is on, or the first one.
PlaceRect ScreenOf(wxWindow* window) {
  const int index = wxDisplay::GetFromWindow(window);
  return FromWxRect(
      wxDisplay(index == wxNOT_FOUND ? 0u : static_cast<unsigned>(index)).GetClientArea());
}

}  // namespace

SmallWindow::SmallWindow(const Form1Parts& parts, ViewLayout& layout,
                         std::function<bool()> kept_above)
    : parts_(parts),
      layout_(layout),
      kept_above_(std::move(kept_above)),
      alone_(parts),
      keys_(parts.frame, [this](TopLevelKey key, bool modified) { return OnKey(key, modified); }),
      on_size_(parts.frame, wxEVT_SIZE,
               [this](wxSizeEvent& event) {
                 event.Skip();
                 if (!active_) return;
                 alone_.CoverClientArea();
                 NotePlace();
               }),
      on_move_(parts.frame, wxEVT_MOVE, [this](wxMoveEvent& event) {
        event.Skip();
        if (active_) NotePlace();
      }) {
  keys_.SetTyped([this](char32_t typed) { return OnTyped(typed); });
  parts_.menus->SetOnClick(kXiaochuang, [this] { Toggle(); });
  parts_.web_browser1->SetDoubleClicked([this] {
    if (active_) Leave();
  });
}

// The menu bar and the playback view outlive the unit.
SmallWindow::~SmallWindow() {
  parts_.menus->SetOnClick(kXiaochuang, nullptr);
  parts_.web_browser1->SetDoubleClicked(nullptr);
}

void SmallWindow::Toggle() {
  if (active_) {
    Leave();
  } else {
    Enter();
  }
}

// In fullscreen, which the small window may have been left for, its keys wait until it is back.
bool SmallWindow::OnKey(TopLevelKey key, bool modified) {
  if (parts_.frame->IsFullScreen() || TypingInTheWindow()) return false;
  if (zap_ && IsZapKey(key, modified, active_, parts_.web_browser1->TypingInPage())) {
    zap_(key);
    return true;
  }
  if (modified) return false;
  if (key == TopLevelKey::kF9 || (key == TopLevelKey::kEscape && active_)) {
    Toggle();
    return true;
  }
  return false;
}

// While the find box has the keyboard its keys are its own: Esc closes it, Up and Down choose.
bool SmallWindow::TypingInTheWindow() const {
  return dynamic_cast<wxTextCtrl*>(wxWindow::FindFocus()) != nullptr;
}

// A channel's letters find it as they do in its list, which the small window keeps out of sight.
bool SmallWindow::OnTyped(char32_t typed) {
  if (!active_ || !find_ || parts_.frame->IsFullScreen() || TypingInTheWindow() ||
      parts_.web_browser1->TypingInPage() || typed > 0xFFFF) {
    return false;
  }
  find_(wxRect(wxPoint(0, 0), parts_.frame->GetClientSize()), static_cast<wxChar>(typed));
  return true;
}

void SmallWindow::Enter() {
  wxFrame* frame = parts_.frame;
  if (active_ || frame->IsFullScreen()) return;
  // Chosen before anything changes: the window's own changes below are no place of the small one.
  const PlaceRect place =
      place_ ? OnScreen(*place_, ScreenAreas()) : SmallWindowPlace(ScreenOf(frame));
  active_ = true;
  focus_ = wxWindow::FindFocus();
  maximised_ = frame->IsMaximized();
  frame_rect_ = frame->GetRect();
  alone_.HideOthers();
  // The layout belongs to the window as it was; it resumes when the small window ends.
  layout_.Suspend(true);
  parts_.menus->ShowBar(false);
  if (maximised_) frame->Maximize(false);
  frame->SetSize(place.x, place.y, place.width, place.height);
  place_ = place;
  KeepAbove(frame, true);
  alone_.CoverClientArea();
  parts_.web_browser1->Window()->SetFocus();
  DebugTrace("window", "the small window");
  if (on_change_) on_change_();
}

void SmallWindow::Leave() {
  wxFrame* frame = parts_.frame;
  if (!active_ || frame->IsFullScreen()) return;
  NotePlace();
  active_ = false;
  KeepAbove(frame, kept_above_());
  parts_.menus->ShowBar(true);
  frame->SetSize(frame_rect_);
  if (maximised_) frame->Maximize(true);
  alone_.ShowOthers();
  layout_.Suspend(false);
  if (focus_) focus_->SetFocus();
  DebugTrace("window", "the main window again");
  if (on_change_) on_change_();
}

void SmallWindow::NotePlace() {
  if (!parts_.frame->IsIconized() && !parts_.frame->IsMaximized()) {
    place_ = FromWxRect(parts_.frame->GetRect());
  }
}

}  // namespace talvo
