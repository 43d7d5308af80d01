#include "mainwindow/window_place_ui.h"

#include <wx/display.h>
#include <wx/toplevel.h>

#include <utility>

#include "core/debug_trace.h"
#include "platform/topmost.h"

namespace talvo {
namespace {

constexpr int kSettleMs = 300;

}  // namespace

PlaceRect FromWxRect(const wxRect& rect) { return {rect.x, rect.y, rect.width, rect.height}; }

std::vector<PlaceRect> ScreenAreas() {
  std::vector<PlaceRect> areas;
  for (unsigned i = 0; i < wxDisplay::GetCount(); ++i) {
    areas.push_back(FromWxRect(wxDisplay(i).GetClientArea()));
  }
  return areas;
}

WindowPlaceKeeper::WindowPlaceKeeper(wxTopLevelWindow* frame, std::function<bool()> elsewhere)
    : frame_(frame),
      elsewhere_(std::move(elsewhere)),
      on_size_(frame, wxEVT_SIZE,
               [this](wxSizeEvent& event) {
                 event.Skip();
                 settle_.StartOnce(kSettleMs);
               }),
      on_move_(frame, wxEVT_MOVE,
               [this](wxMoveEvent& event) {
                 event.Skip();
                 settle_.StartOnce(kSettleMs);
               }),
      on_settled_(&settle_, wxEVT_TIMER, [this](wxTimerEvent&) { Note(); }),
      on_shown_(frame, wxEVT_SHOW, [this](wxShowEvent& event) {
        event.Skip();
        if (!event.IsShown() || !shown_at_ || frame_->IsMaximized()) return;
        const wxPoint at = *std::exchange(shown_at_, std::nullopt);
        MoveOnceMapped(frame_, at.x, at.y);
      }) {}

void WindowPlaceKeeper::Restore(const std::optional<WindowPlace>& kept) {
  if (!kept) return;
  const PlaceRect rect = OnScreen(kept->rect, ScreenAreas());
  DebugTrace(
      "window",
      "opens at " + WritePlace(rect) + (kept->maximised ? ", maximised" : "") +
          (rect == kept->rect ? "" : ", brought onto a screen from " + WritePlace(kept->rect)));
  frame_->SetSize(rect.x, rect.y, rect.width, rect.height);
  place_ = WindowPlace{rect, kept->maximised};
  shown_at_ = wxPoint(rect.x, rect.y);
  // Fullscreen is never where a start opens; maximised is.
  if (kept->maximised) frame_->Maximize();
}

void WindowPlaceKeeper::Note() {
  if (!frame_->IsShown() || frame_->IsIconized() || frame_->IsFullScreen() || elsewhere_()) {
    return;
  }
  WindowPlace noted = place_.value_or(WindowPlace{FromWxRect(frame_->GetRect()), false});
  noted.maximised = frame_->IsMaximized();
  if (!noted.maximised) noted.rect = FromWxRect(frame_->GetRect());
  place_ = noted;
}

std::optional<WindowPlace> WindowPlaceKeeper::Place() {
  // At close the window is as the viewer left it, settled or not.
  if (settle_.IsRunning()) {
    settle_.Stop();
    Note();
  }
  return place_;
}

}  // namespace talvo
