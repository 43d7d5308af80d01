#include "mainwindow/layout.h"

namespace talvo {
namespace {

// The steps of one layout, with the two views' geometry as they will read back after each.
class LayoutRun {
 public:
  explicit LayoutRun(const LayoutInput& input)
      : browser1_(Rect(input.web_browser1)), browser2_(Rect(input.web_browser2)) {}

  void Show(LayoutPart part) { steps_.push_back({part, LayoutAction::kShow}); }
  void Hide(LayoutPart part) { steps_.push_back({part, LayoutAction::kHide}); }

  void Set(LayoutPart part, LayoutAction action, float value) {
    const bool size = action == LayoutAction::kSetWidth || action == LayoutAction::kSetHeight;
    if (size && value < 0) return;
    steps_.push_back({part, action, value});
    if (part == LayoutPart::kWebBrowser1) Track(browser1_, action, value);
    if (part == LayoutPart::kWebBrowser2) Track(browser2_, action, value);
  }

  struct Geometry {
    float left, top, width, height;
  };
  const Geometry& Browser1() const { return browser1_; }
  std::vector<LayoutStep> Steps() && { return std::move(steps_); }

 private:
  static Geometry Rect(const TwipsRect& rect) {
    return {static_cast<float>(rect.left), static_cast<float>(rect.top),
            static_cast<float>(rect.width), static_cast<float>(rect.height)};
  }

  static void Track(Geometry& geometry, LayoutAction action, float value) {
    switch (action) {
      case LayoutAction::kSetLeft:
        geometry.left = value;
        break;
      case LayoutAction::kSetTop:
        geometry.top = value;
        break;
      case LayoutAction::kSetWidth:
        geometry.width = value;
        break;
      case LayoutAction::kSetHeight:
        geometry.height = value;
        break;
      default:
        break;
    }
  }

  Geometry browser1_;
  Geometry browser2_;
  std::vector<LayoutStep> steps_;
};

// Ordinary form: the service view right below the playback view, as wide. VIP form: the
// service view 3000 twips below where the playback view ended, out of sight, and the playback
// view takes the height.
void ApplyAccountForm(LayoutRun& run, float height, bool vip) {
  using enum LayoutAction;
  if (!vip) {
    run.Set(LayoutPart::kWebBrowser1, kSetHeight, height - 2300.0f - 375.0f);
    run.Set(LayoutPart::kWebBrowser2, kSetWidth, run.Browser1().width);
    run.Set(LayoutPart::kWebBrowser2, kSetTop, run.Browser1().height);
    run.Set(LayoutPart::kWebBrowser2, kSetLeft, run.Browser1().left);
  } else {
    run.Set(LayoutPart::kWebBrowser2, kSetTop, run.Browser1().height + 3000.0f);
    run.Set(LayoutPart::kWebBrowser1, kSetHeight, height - 1175.0f);
  }
}

}  // namespace

bool IsVipTitle(std::u16string_view title) {
  return title.find(u" VIP用户") != std::u16string_view::npos;
}

std::vector<LayoutStep> FormResize(const LayoutInput& input) {
  using enum LayoutAction;
  using enum LayoutPart;
  LayoutRun run(input);
  const float width = input.outer_width;
  const float height = input.outer_height;
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
  run.Set(kImage1, kSetLeft, 1950.0f);
  run.Set(kWebBrowser1, kSetLeft, 2040.0f);
  run.Set(kWebBrowser1, kSetWidth, width - 2100.0f);
  ApplyAccountForm(run, height, input.vip);
  run.Set(kList1, kSetHeight, height - 1400.0f);
  run.Set(kList2, kSetHeight, height - 1050.0f);
  return std::move(run).Steps();
}

}  // namespace talvo
