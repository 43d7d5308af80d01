// What a top-level window asks of the window manager: to be kept above all others, without
// being moved or resized, or to stay off the taskbar.
#pragma once

class wxTopLevelWindow;

namespace talvo {

void KeepAbove(wxTopLevelWindow* window, bool above);
// A window that belongs to another, as a dialog does (Windows leaves dialogs off by itself).
void KeepOffTaskbar(wxTopLevelWindow* window);

}  // namespace talvo
