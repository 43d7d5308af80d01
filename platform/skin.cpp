#include "platform/skin.h"

#include <wx/button.h>
#include <wx/toplevel.h>

#include <fstream>
#include <sstream>

namespace talvo {
namespace {

constexpr std::size_t kMaxSkinFileBytes = 64 * 1024;
// Opacity of a translucent border: enough to show the desktop through, not enough to hurt text.
constexpr wxByte kAeroAlpha = 238;

wxColour Colour(std::uint32_t rgb) { return wxColour(rgb >> 16, (rgb >> 8) & 0xFF, rgb & 0xFF); }

}  // namespace

void Skin::SkinH_Attach() {
  scheme_ = SkinScheme{};
  attached_ = true;
  Apply();
}

bool Skin::SkinH_AttachEx(const std::filesystem::path& file, const std::string&) {
  std::ifstream in(file, std::ios::binary);
  if (!in) return false;
  std::string text(kMaxSkinFileBytes, '\0');
  in.read(text.data(), static_cast<std::streamsize>(text.size()));
  text.resize(static_cast<std::size_t>(in.gcount()));
  const std::optional<SkinScheme> scheme = ParseSkinFile(text);
  if (!scheme) return false;
  scheme_ = *scheme;
  attached_ = true;
  Apply();
  return true;
}

void Skin::SkinH_SetAero(int on) {
  aero_ = on != 0;
  if (window_ != nullptr && window_->CanSetTransparent()) {
    window_->SetTransparent(aero_ ? kAeroAlpha : wxIMAGE_ALPHA_OPAQUE);
  }
}

void Skin::Apply() {
  if (window_ == nullptr) return;
  window_->SetBackgroundColour(Colour(scheme_.window));
  window_->SetForegroundColour(Colour(scheme_.text));
  for (wxWindow* child : window_->GetChildren()) {
    if (auto* button = dynamic_cast<wxButton*>(child)) {
      button->SetBackgroundColour(Colour(scheme_.button));
      button->SetForegroundColour(Colour(scheme_.button_text));
    }
  }
  window_->Refresh();
}

}  // namespace talvo
