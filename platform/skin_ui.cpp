#include "platform/skin_ui.h"

#include <wx/button.h>
#include <wx/dcclient.h>
#include <wx/graphics.h>
#include <wx/nativewin.h>
#include <wx/region.h>
#include <wx/toplevel.h>

#include <memory>

#include "core/debug_trace.h"
#include "platform/accessible_ui.h"
#include "platform/settings_lines.h"

namespace talvo {
namespace {

// Opacity of a translucent border: enough to show the desktop through, not enough to hurt text.
constexpr wxByte kAeroAlpha = 238;

wxColour Colour(std::uint32_t rgb) { return wxColour(rgb >> 16, (rgb >> 8) & 0xFF, rgb & 0xFF); }

}  // namespace

Skin::Skin(wxTopLevelWindow* window) : window_(window) {
  if (window_ == nullptr) return;
  // The skin paints the whole background itself, so wx need not erase it first: its erase makes
  // a drawing context every time, even where nothing of the window shows (wxGTK 3.2.2).
  window_->SetBackgroundStyle(wxBG_STYLE_PAINT);
  on_paint_.emplace(window_, wxEVT_PAINT, [this](wxPaintEvent& event) { OnPaint(event); });
}

bool Skin::PrepareTranslucentBackground(wxTopLevelWindow* window) {
  if (window == nullptr) return false;
  return ScreenShowsTranslucent() && window->SetBackgroundStyle(wxBG_STYLE_TRANSPARENT);
}

bool Skin::CanShowTranslucent() const {
  return window_ != nullptr && window_->GetBackgroundStyle() == wxBG_STYLE_TRANSPARENT;
}

void Skin::SkinH_Attach() {
  scheme_ = SkinScheme{};
  attached_ = true;
  Apply();
}

bool Skin::SkinH_AttachEx(const std::filesystem::path& file, const std::string&) {
  const std::optional<std::string> text = ReadSettingsFileHead(file);
  if (!text) {
    DebugTrace("skin", file.string() + " not read");
    return false;
  }
  const std::optional<SkinScheme> scheme = ParseSkinFile(*text);
  if (!scheme) {
    DebugTrace("skin", file.string() + " has no colour the skin can use");
    return false;
  }
  scheme_ = *scheme;
  attached_ = true;
  Apply();
  return true;
}

// Never the whole window's opacity: that would make the pages see-through too.
void Skin::SkinH_SetAero(int on) {
  aero_ = on != 0;
  if (!CanShowTranslucent()) return;
  PaintMenuBar();
  window_->Refresh();
}

// The menu bar is part of the border: the theme leaves it to the window's background, which is
// ours to paint, so it gets the same colour and opacity.
void Skin::PaintMenuBar() {
  PaintMenuBarBackground(window_, menu_bar_style_, Colour(scheme_.window),
                         (aero_ ? kAeroAlpha : 255) / 255.0);
}

Skin::~Skin() { FreeMenuBarStyle(menu_bar_style_); }

// The window's own background; every control paints its own, opaque, above it. A playing video
// has its view drawn many times a second, and the window beneath is asked to paint first each
// time; the browser views are opaque, so where they cover all that is asked there is nothing to
// paint, and no drawing context is made.
void Skin::OnPaint(wxPaintEvent&) {
  wxRegion uncovered = window_->GetUpdateRegion();
  for (const wxWindow* child : window_->GetChildren()) {
    if (child->IsShown() && dynamic_cast<const wxNativeWindow*>(child) != nullptr) {
      uncovered.Subtract(child->GetRect());
    }
  }
  if (uncovered.IsEmpty()) return;
  wxPaintDC dc(window_);
  if (!CanShowTranslucent() || system_colours_) {
    dc.SetBackground(wxBrush(window_->GetBackgroundColour()));
    dc.Clear();
    return;
  }
  const std::unique_ptr<wxGraphicsContext> gc(wxGraphicsContext::Create(dc));
  if (!gc) return;
  const wxColour colour = Colour(scheme_.window);
  gc->SetBrush(wxBrush(
      wxColour(colour.Red(), colour.Green(), colour.Blue(), aero_ ? kAeroAlpha : wxALPHA_OPAQUE)));
  gc->SetPen(*wxTRANSPARENT_PEN);
  const wxSize size = window_->GetClientSize();
  gc->DrawRectangle(0, 0, size.x, size.y);
}

// With high contrast the desktop's colours stay: the skin colours nothing.
void Skin::Apply() {
  system_colours_ = HighContrastDesktop();
  if (window_ == nullptr || system_colours_) return;
  window_->SetBackgroundColour(Colour(scheme_.window));
  if (CanShowTranslucent()) PaintMenuBar();
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
