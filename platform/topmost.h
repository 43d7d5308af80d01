// Keeping a top-level window above all others, through the window manager, without moving or
// resizing it.
#pragma once

class wxTopLevelWindow;

namespace talvo {

void KeepAbove(wxTopLevelWindow* window, bool above);

}  // namespace talvo
