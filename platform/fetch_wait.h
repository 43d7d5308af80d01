// How a page fetch waits in the GUI: the event loop keeps running (timers, clicks, repaints)
// until the transfer completes and wakes it; nothing polls.
#pragma once

#include <functional>

namespace talvo {

void InstallEventLoopFetchWait();

// How many fetch waits are open on the stack right now.
int FetchWaitDepth();

// Runs `action` from the event loop once no fetch wait is open: shutdown must not tear down a
// window whose handler is still inside a fetch.
void RunWhenNoFetchWaits(std::function<void()> action);

}  // namespace talvo
