#include "mainwindow/layout.h"

namespace talvo {
namespace {

// The steps of one layout, with the playback view's geometry as it will read back after each.
class LayoutRun {
 public:
  explicit LayoutRun(const LayoutInput& input) : browser1_(input.web_browser1) {}

  void Show(LayoutPart part) { steps_.push_back({part, LayoutAction::kShow}); }
  void Hide(LayoutPart part) { steps_.push_back({part, LayoutAction::kHide}); }

  void Set(LayoutPart part, LayoutAction action, float value) {
    const bool size = action == LayoutAction::kSetWidth || action == LayoutAction::kSetHeight;
    if (size && value < 0) return;
    steps_.push_back({part, action, value});
    if (part == LayoutPart::kWebBrowser1) browser1_ = AfterStep(browser1_, steps_.back());
  }

  // Read back in single precision, as the arithmetic is done.
  float Browser1(double TwipsRect::*field) const { return static_cast<float>(browser1_.*field); }
  std::vector<LayoutStep> Steps() && { return std::move(steps_); }

 private:
  TwipsRect browser1_;
  std::vector<LayoutStep> steps_;
};

// Ordinary form: the service view right below the playback view, as wide. VIP form: the
// service view 3000 twips below where the playback view ended, out of sight, and the playback
// view takes the height.
// The heights are taken from the outer height: 2300 + 375 leave room below the playback view for
// the 1455-twip service view, the title bar, the menu bar and the border; the VIP form's 1175
// leaves room for the bars and the border alone.
void ApplyAccountForm(LayoutRun& run, float height, bool vip) {
  using enum LayoutAction;
  if (!vip) {
    run.Set(LayoutPart::kWebBrowser1, kSetHeight, height - 2300.0f - 375.0f);
    run.Set(LayoutPart::kWebBrowser2, kSetWidth, run.Browser1(&TwipsRect::width));
    run.Set(LayoutPart::kWebBrowser2, kSetTop, run.Browser1(&TwipsRect::height));
    run.Set(LayoutPart::kWebBrowser2, kSetLeft, run.Browser1(&TwipsRect::left));
  } else {
    run.Set(LayoutPart::kWebBrowser2, kSetTop, run.Browser1(&TwipsRect::height) + 3000.0f);
    run.Set(LayoutPart::kWebBrowser1, kSetHeight, height - 1175.0f);
  }
}

}  // namespace

TwipsRect AfterStep(TwipsRect rect, const LayoutStep& step) {
  switch (step.action) {
    case LayoutAction::kSetLeft:
      rect.left = step.value;
      break;
    case LayoutAction::kSetTop:
      rect.top = step.value;
      break;
    case LayoutAction::kSetWidth:
      rect.width = step.value;
      break;
    case LayoutAction::kSetHeight:
      rect.height = step.value;
      break;
    case LayoutAction::kShow:
    case LayoutAction::kHide:
      break;
  }
  return rect;
}

bool IsVipTitle(std::u16string_view title) {
  return title.find(u" VIP用户") != std::u16string_view::npos;
}

std::vector<LayoutStep> FormResize(const LayoutInput& input) {
  using enum LayoutAction;
  using enum LayoutPart;
  LayoutRun run(input);
  const float width = input.outer_width;
  const float height = input.outer_height;
  // Collapsed: the panel bar at the window's left edge and the playback view just right of it,
  // wider by the 1940 twips the side panel gave up (2040 - 100).
  if (input.view_mode == kCollapsedView) {
    run.Hide(kCommand2);
    run.Hide(kCommand3);
    run.Hide(kList1);
    run.Hide(kList2);
    run.Set(kImage1, kSetLeft, 15.0f);
    run.Set(kWebBrowser1, kSetLeft, 100.0f);
    run.Set(kWebBrowser1, kSetWidth, width - 2100.0f + 1940.0f);
    ApplyAccountForm(run, height, input.vip);
    return std::move(run).Steps();
  }
  if (input.view_mode == kTvView) {
    run.Show(kList2);
  } else {
    run.Show(kList1);
    run.Show(kCommand2);
    run.Show(kCommand3);
    run.Hide(kList2);
  }
  // The panel bar right of the 1935-twip lists, the playback view right of the bar, and 60 twips
  // of the outer width for the window's borders.
  run.Set(kImage1, kSetLeft, 1950.0f);
  run.Set(kWebBrowser1, kSetLeft, 2040.0f);
  run.Set(kWebBrowser1, kSetWidth, width - 2100.0f);
  ApplyAccountForm(run, height, input.vip);
  // Both lists end at the same height above the window's bottom: the station list begins 360
  // twips lower, below the two border buttons.
  run.Set(kList1, kSetHeight, height - 1400.0f);
  run.Set(kList2, kSetHeight, height - 1050.0f);
  return std::move(run).Steps();
}

}  // namespace talvo
