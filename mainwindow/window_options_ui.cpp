#include "mainwindow/window_options_ui.h"

#include <wx/button.h>
#include <wx/frame.h>

#include <string>

#include "mainwindow/window_options.h"
#include "platform/clickable_menu_bar.h"
#include "platform/skin_ui.h"
#include "platform/topmost.h"

namespace talvo {

WindowOptions::WindowOptions(const Form1Parts& parts)
    : parts_(parts),
      on_command2_(parts.command2, wxEVT_BUTTON, [this](wxCommandEvent&) { Command2_Click(); }),
      on_command3_(parts.command3, wxEVT_BUTTON, [this](wxCommandEvent&) { Command3_Click(); }) {
  parts_.menus->SetOnClick(kChuangkou, [this] { chuangkou_Click(); });
}

// The menu bar outlives the unit.
WindowOptions::~WindowOptions() { parts_.menus->SetOnClick(kChuangkou, nullptr); }

void WindowOptions::chuangkou_Click() {
  if (on_top_ == 0) {
    on_top_ = 1;
    KeepAbove(parts_.frame, true);
    parts_.menus->SetCaption(kChuangkou, std::u16string(OnTopCaption(true)));
  } else {
    KeepAbove(parts_.frame, false);
    parts_.menus->SetCaption(kChuangkou, std::u16string(OnTopCaption(false)));
    on_top_ = 0;
  }
}

void WindowOptions::Command2_Click() { parts_.skin->SkinH_SetAero(1); }
void WindowOptions::Command3_Click() { parts_.skin->SkinH_SetAero(0); }

}  // namespace talvo
