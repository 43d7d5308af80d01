// What a top-level window asks of the window manager: to be kept above all others, without
// being moved or resized, to stay off the taskbar, or to come forward.
#pragma once

#include <string>

class wxTopLevelWindow;

namespace talvo {

void KeepAbove(wxTopLevelWindow* window, bool above);
// A window that belongs to another, as a dialog does (Windows leaves dialogs off by itself).
void KeepOffTaskbar(wxTopLevelWindow* window);
// Put at `x`, `y` once the window manager has mapped it: a manager may place a new window by its
// own rule (openbox does) and honour a program's place only for a window it shows already.
void MoveOnceMapped(wxTopLevelWindow* window, int x, int y);
// Raised and given the keyboard, as the viewer asked through another start of the program;
// `startup_id` is that start's startup notification id, which lets the desktop grant the focus.
void BringForward(wxTopLevelWindow* window, const std::string& startup_id);

}  // namespace talvo
