// The window skin: a colour scheme on a top-level window and its buttons, and a translucent
// border (window opacity) where the window manager can show one. The three calls keep the names
// the start-up sequence and the option buttons use.
#pragma once

#include <filesystem>
#include <string>

#include "platform/skin_file.h"

class wxTopLevelWindow;

namespace talvo {

class Skin {
 public:
  explicit Skin(wxTopLevelWindow* window) : window_(window) {}

  // The default scheme.
  void SkinH_Attach();
  // The scheme stored in `file`. A missing, unreadable or malformed file changes nothing and
  // returns false. Skins here carry no password; the argument is accepted and unused.
  bool SkinH_AttachEx(const std::filesystem::path& file, const std::string& password);
  // 1: translucent border on; 0: off.
  void SkinH_SetAero(int on);

  const SkinScheme& Scheme() const { return scheme_; }
  bool Attached() const { return attached_; }
  bool AeroOn() const { return aero_; }

 private:
  void Apply();

  wxTopLevelWindow* window_;
  SkinScheme scheme_;
  bool attached_ = false;
  bool aero_ = false;
};

}  // namespace talvo
