// Image1, the narrow bar beside the side panel: a light blue frame, green inside, a white arrow
// pointing right; the west-east sizing cursor over it. A click toggles the side panel.
#pragma once

#include <wx/window.h>

#include <functional>

namespace talvo {
namespace testing {
struct PartsProbe;
}

class PanelBar : public wxWindow {
 public:
  explicit PanelBar(wxWindow* parent);
  void SetOnClick(std::function<void()> on_click) { on_click_ = std::move(on_click); }

 private:
  friend struct testing::PartsProbe;

  void OnPaint(wxPaintEvent& event);

  std::function<void()> on_click_;
};

}  // namespace talvo
