// What a screen reader reads of a control, through the desktop's own accessibility layer (ATK on
// Linux, MSAA through wx's accessible objects on Windows): its name, whether it is read as a
// button, and whether it is read at all. One implementation a system.
#pragma once

#include <string>

class wxWindow;

namespace talvo {

// The name read for the control, in place of none or of what the toolkit guessed.
void NameForReaders(wxWindow* window, const std::u16string& name);
// A drawn control that acts on Enter, Space or a click: read as a button of that name.
void ReadAsButton(wxWindow* window, const std::u16string& name);
// What a reader says for row `row` of a list box instead of its text.
void NameRowForReaders(wxWindow* list, unsigned row, const std::u16string& name);
// A control that is out of sight (hidden, or wholly under another) or that no person uses:
// readers and Tab pass over it while `passed`, and it is as it was once not.
void PassOver(wxWindow* window, bool passed);
// Whether the desktop asks for high contrast (GTK's HighContrast themes, Windows' high-contrast
// mode): the client's own colours then yield to the system's.
bool HighContrastDesktop();
// Tells a screen reader `text` at once, without moving the focus: a channel that starts or
// fails, a save that failed. `window` is any window of the application.
void AnnounceToReaders(wxWindow* window, const std::u16string& text);
// Tab or Shift+Tab on a drawn control: the focus moves on to the next control of its window, as
// it does from the desktop's own.
void TabFrom(wxWindow* window, bool backward);

}  // namespace talvo
