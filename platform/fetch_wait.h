// How a page fetch waits in the GUI: the event loop keeps running (timers, clicks, repaints)
// until the transfer completes and wakes it; nothing polls.
#pragma once

#include <functional>
#include <memory>
#include <optional>

#include <wx/evtloop.h>

namespace talvo {

// The event loop a wait runs: the active one, or, before the main loop runs (or in a test), one
// brought up for the wait and put away after it.
class LoopForWaiting {
 public:
  LoopForWaiting();
  wxEventLoopBase& operator*() const { return *loop_; }
  wxEventLoopBase* operator->() const { return loop_; }

 private:
  std::unique_ptr<wxGUIEventLoop> own_;
  std::optional<wxEventLoopActivator> activation_;
  wxEventLoopBase* loop_;
};

void InstallEventLoopFetchWait();

// A turn of GTK's loop runs idle time (queued calls, windows closed meanwhile) when nothing else
// is due; a turn of Windows' message loop only takes a message. So on Windows this runs idle time
// when no message is pending, and says whether it did; on GTK it does nothing.
bool RunIdleTimeTheLoopWouldNot(wxEventLoopBase& loop);

// How many fetch waits are open on the stack right now.
int FetchWaitDepth();

// Runs `action` from the event loop once no fetch wait is open: shutdown must not tear down a
// window whose handler is still inside a fetch.
void RunWhenNoFetchWaits(std::function<void()> action);

}  // namespace talvo
