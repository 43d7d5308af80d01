// What fullscreen and the small window share: the window's other parts out of sight while only
// the picture shows, the playback view over the whole client area, and everything as it was
// afterwards.
#pragma once

#include <array>

#include "mainwindow/form1_parts.h"
#include "platform/twips.h"

class wxWindow;

namespace talvo {

class PictureAlone {
 public:
  explicit PictureAlone(const Form1Parts& parts);

  // Hides the lists, the border buttons, the panel bar and the service view, remembering which
  // were shown and where the playback view was.
  void HideOthers();
  // Shows again what was shown, and puts the playback view back.
  void ShowOthers();
  void CoverClientArea();

 private:
  const Form1Parts& parts_;
  std::array<wxWindow*, 6> others_{};
  std::array<bool, 6> shown_{};
  TwipsRect playback_rect_;
};

}  // namespace talvo
