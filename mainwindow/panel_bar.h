// Image1, the narrow bar beside the side panel: a light blue frame, green inside, a white arrow
// pointing right; the west-east sizing cursor over it. A click toggles the side panel.
#pragma once

#include <wx/window.h>

#include <functional>

namespace talvo {

class PanelBar : public wxWindow {
 public:
  explicit PanelBar(wxWindow* parent);
  void SetOnClick(std::function<void()> on_click) { on_click_ = std::move(on_click); }
  bool HasOnClick() const { return static_cast<bool>(on_click_); }

 private:
  void OnPaint(wxPaintEvent& event);

  std::function<void()> on_click_;
};

}  // namespace talvo
