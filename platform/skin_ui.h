// The window skin: a colour scheme on a top-level window and its buttons, and a translucent
// border where the desktop can show one. The border is the window's own background: it lets the
// desktop through around the controls, while the lists, buttons and browser views stay opaque,
// so a page is never see-through. The three calls keep the names the start-up sequence and the
// option buttons use.
#pragma once

#include <filesystem>
#include <optional>
#include <string>

#include "platform/bound_handler.h"
#include "platform/skin.h"

class wxColour;
class wxTopLevelWindow;

namespace talvo {

// What each system does its own way (skin_gtk.cpp, skin_windows.cpp): whether the screen can
// show a window's background through, and the menu bar's background in the skin's colour and
// opacity where the system leaves it to the window's (`style` is kept from call to call).
bool ScreenShowsTranslucent();
void PaintMenuBarBackground(wxTopLevelWindow* window, void*& style, const wxColour& colour,
                            double opacity);
void FreeMenuBarStyle(void* style);

class Skin {
 public:
  explicit Skin(wxTopLevelWindow* window);
  ~Skin();
  Skin(const Skin&) = delete;
  Skin& operator=(const Skin&) = delete;

  // Before the window is created: give it a background that can be translucent, where the
  // screen is composited. Elsewhere the border switch changes nothing visible, and so on Windows:
  // since Windows 8 there is no glass behind a client area, and a layered window would make the
  // pages see-through too.
  static bool PrepareTranslucentBackground(wxTopLevelWindow* window);

  // The default scheme.
  void SkinH_Attach();
  // The scheme stored in `file`. A missing, unreadable or malformed file changes nothing and
  // returns false. Skins here carry no password; the argument is accepted and unused.
  bool SkinH_AttachEx(const std::filesystem::path& file, const std::string& password);
  // 1: translucent border on; 0: off.
  void SkinH_SetAero(int on);
  // True when the border can be seen translucent on this screen.
  bool CanShowTranslucent() const;

  const SkinScheme& Scheme() const { return scheme_; }
  bool Attached() const { return attached_; }
  bool AeroOn() const { return aero_; }

 private:
  void Apply();
  void OnPaint(wxPaintEvent& event);
  void PaintMenuBar();

  wxTopLevelWindow* window_;
  SkinScheme scheme_;
  bool attached_ = false;
  bool aero_ = false;
  // The desktop asked for high contrast when the skin was last applied: asked once there, not
  // at every paint, which a playing video makes many times a second.
  bool system_colours_ = false;
  void* menu_bar_style_ = nullptr;  // the menu bar's, once the border is translucent
  std::optional<BoundHandler<wxPaintEvent>> on_paint_;
};

}  // namespace talvo
