// The client never shows a message box: wx's log messages and failed library asserts go to a
// stream instead (stderr in the application), so a failing script read or a library warning
// never interrupts playback.
#pragma once

#include <cstdio>

class wxLog;

namespace talvo {

// wx log messages of every level are written to `sink`, never shown in a window. Returns the
// target that was active before, for a caller that restores it.
wxLog* RouteLogTo(std::FILE* sink);

// Failed wx asserts are written to stderr instead of opening the assert dialog.
void RouteAssertsToStderr();

}  // namespace talvo
