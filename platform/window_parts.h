// The parts of the main window that every feature unit may reach, the sign-in's included: the
// window, its configuration, the folder of its files, the two page views and the line that
// tells a failed save. The main window adds its own controls to these (Form1Parts); the sign-in
// sees no more than this.
#pragma once

#include <filesystem>

#include "platform/config.h"

class wxFrame;

namespace talvo {

class BrowserView;
class SaveNotice;

struct WindowParts {
  wxFrame* frame = nullptr;
  const Config* config = nullptr;
  std::filesystem::path app_folder;     // the credential file, the skin and talvo.ini
  BrowserView* web_browser1 = nullptr;  // playback view
  BrowserView* web_browser2 = nullptr;  // service view
  SaveNotice* save_notice = nullptr;    // where a failed save is told
};

}  // namespace talvo
