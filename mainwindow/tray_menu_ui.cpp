#include "mainwindow/tray_menu_ui.h"

#include <wx/frame.h>

#include "core/debug_trace.h"
#include "platform/tray.h"

namespace talvo {

namespace {

// How long a desktop has to take the icon before a window started in the tray shows minimised.
constexpr int kTrayWaitMs = 3000;

}  // namespace

TrayMenu::TrayMenu(const Form1Parts& parts, TrayActions actions)
    : parts_(parts),
      actions_(std::move(actions)),
      on_no_tray_(&no_tray_, wxEVT_TIMER, [this](wxTimerEvent&) { TrayChanged(); }) {
  tray_ = CreateTray([this](int id) { Chose(id); }, [this] { TrayChanged(); });
  Refresh();
  DebugTrace("tray", "the icon is offered to the desktop");
}

TrayMenu::~TrayMenu() = default;

void TrayMenu::Refresh() {
  TrayState state = actions_.state();
  state.window_shown = parts_.frame->IsShown() && !parts_.frame->IsIconized();
  tray_->SetMenu(TrayMenuEntries(state));
  tray_->SetTooltip(TrayTooltip(state));
}

bool TrayMenu::Shown() const { return tray_->Shown(); }

// A window in a tray the desktop does not show, or no longer shows, comes back minimised: nothing
// stays out of reach.
void TrayMenu::TrayChanged() {
  if (Shown() || parts_.frame->IsShown()) return;
  DebugTrace("tray", "the window was in a tray the desktop does not show: minimised");
  parts_.frame->Iconize(true);
  parts_.frame->Show();
  Refresh();
}

std::u16string TrayMenu::OptionLabel() const {
  return Shown() ? u"关闭窗口时最小化到托盘" : u"关闭窗口时最小化到托盘（桌面没有托盘：最小化）";
}

bool TrayMenu::KeepOnClose() {
  if (quitting_ || !actions_.close_to_tray()) return false;
  if (Shown()) {
    HideWindow();
  } else {
    // Nothing hides into nowhere: without a tray the window goes to the task bar.
    parts_.frame->Iconize(true);
    DebugTrace("tray", "closed with no tray shown: minimised");
  }
  return true;
}

void TrayMenu::ShowWindow() {
  parts_.frame->Show();
  parts_.frame->Iconize(false);
  parts_.frame->Raise();
  parts_.frame->SetFocus();
  Refresh();
}

void TrayMenu::HideWindow() {
  parts_.frame->Hide();
  Refresh();
}

void TrayMenu::StartHidden() { no_tray_.StartOnce(kTrayWaitMs); }

void TrayMenu::Quit() {
  quitting_ = true;
  parts_.frame->Close(true);
}

// Showing and hiding make the menu again themselves.
void TrayMenu::Chose(int id) {
  if (id == kTrayShowWindow) return ShowWindow();
  if (id == kTrayHideWindow) return HideWindow();
  if (id == kTrayQuit) return Quit();
  if (id == kTrayMute) actions_.toggle_mute();
  if (id == kTraySmallWindow) {
    if (!parts_.frame->IsShown()) ShowWindow();
    actions_.toggle_small_window();
  }
  if (id == kTraySleepCancel) actions_.cancel_sleep();
  if (id > kTraySleep && id < kTrayFavourite) actions_.set_sleep(id - kTraySleep);
  if (id >= kTrayFavourite) actions_.play_favourite(static_cast<std::size_t>(id - kTrayFavourite));
  Refresh();
}

}  // namespace talvo
