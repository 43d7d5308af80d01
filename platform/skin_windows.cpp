#include "platform/skin_ui.h"

namespace talvo {

// The translucent border is GTK's only: Windows' frames are the system's to draw.
bool ScreenShowsTranslucent() { return false; }
void PaintMenuBarBackground(wxTopLevelWindow*, void*&, const wxColour&, double) {}
void FreeMenuBarStyle(void*) {}

}  // namespace talvo
