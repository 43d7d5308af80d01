#include "mainwindow/layout.h"

#include <gtest/gtest.h>

#include <map>

namespace talvo {
namespace {

using enum LayoutPart;
using enum LayoutAction;

// Where the steps leave each part: its rectangle (only what was set) and what was shown or hidden.
struct Outcome {
  std::map<LayoutPart, TwipsRect> rects;
  std::vector<std::pair<LayoutPart, LayoutAction>> visibility;
};

Outcome LayOut(const LayoutInput& input) {
  Outcome outcome;
  outcome.rects[kWebBrowser1] = input.web_browser1;
  outcome.rects[kWebBrowser2] = input.web_browser2;
  for (const LayoutStep& step : FormResize(input)) {
    if (step.action == kShow || step.action == kHide) {
      outcome.visibility.emplace_back(step.part, step.action);
      continue;
    }
    outcome.rects[step.part] = AfterStep(outcome.rects[step.part], step);
  }
  return outcome;
}

LayoutInput Window(float width, float height, std::int16_t mode, bool vip = false) {
  LayoutInput input;
  input.outer_width = width;
  input.outer_height = height;
  input.view_mode = mode;
  input.vip = vip;
  input.web_browser1 = {5040, 0, 8775, 4455};
  input.web_browser2 = {2040, 7200, 11295, 1455};
  return input;
}

void ExpectRect(const TwipsRect& rect, double left, double top, double width, double height) {
  EXPECT_EQ(rect.left, left);
  EXPECT_EQ(rect.top, top);
  EXPECT_EQ(rect.width, width);
  EXPECT_EQ(rect.height, height);
}

TEST(FormResize, TvViewOrdinaryFormPutsTheServiceViewBelowThePlayback) {
  Outcome out = LayOut(Window(15000, 10000, kTvView));
  ExpectRect(out.rects[kWebBrowser1], 2040, 0, 12900, 7325);
  ExpectRect(out.rects[kWebBrowser2], 2040, 7325, 12900, 1455);
  EXPECT_EQ(out.rects[kList2].height, 8950);
  EXPECT_EQ(out.rects[kList1].height, 8600);
  EXPECT_EQ(out.rects[kImage1].left, 1950);
  // Only the channel list is shown; whatever the radio view showed stays as it was, beneath it.
  EXPECT_EQ(out.visibility, (std::vector<std::pair<LayoutPart, LayoutAction>>{{kList2, kShow}}));
}

TEST(FormResize, RadioViewShowsTheStationsAndButtonsAndHidesTheChannels) {
  const Outcome out = LayOut(Window(15000, 10000, kRadioView));
  EXPECT_EQ(out.visibility,
            (std::vector<std::pair<LayoutPart, LayoutAction>>{
                {kList1, kShow}, {kCommand2, kShow}, {kCommand3, kShow}, {kList2, kHide}}));
  // Any other mode counts as the radio view.
  EXPECT_EQ(LayOut(Window(15000, 10000, 7)).visibility, out.visibility);
}

TEST(FormResize, CollapsedViewWidensThePlaybackAndLeavesTheListsAlone) {
  Outcome out = LayOut(Window(15000, 10000, kCollapsedView));
  EXPECT_EQ(out.visibility,
            (std::vector<std::pair<LayoutPart, LayoutAction>>{
                {kCommand2, kHide}, {kCommand3, kHide}, {kList1, kHide}, {kList2, kHide}}));
  EXPECT_EQ(out.rects[kImage1].left, 15);
  ExpectRect(out.rects[kWebBrowser1], 100, 0, 14840, 7325);
  ExpectRect(out.rects[kWebBrowser2], 100, 7325, 14840, 1455);
  EXPECT_EQ(out.rects.count(kList1), 0u);
  EXPECT_EQ(out.rects.count(kList2), 0u);
}

TEST(FormResize, VipFormMovesTheServiceViewOutOfSightBelowTheOldPlaybackHeight) {
  LayoutInput input = Window(15000, 10000, kTvView, true);
  input.web_browser1.height = 7325;
  Outcome out = LayOut(input);
  EXPECT_EQ(out.rects[kWebBrowser2].top, 10325);
  EXPECT_EQ(out.rects[kWebBrowser1].height, 8825);
  // Width and left of the service view are not the VIP form's business.
  EXPECT_EQ(out.rects[kWebBrowser2].left, 2040);
  EXPECT_EQ(out.rects[kWebBrowser2].width, 11295);
}

TEST(FormResize, NegativeSizesAreSkippedAndLaterStepsReadBackTheOldValues) {
  Outcome out = LayOut(Window(1500, 2000, kTvView));
  // 1500 - 2100 and 2000 - 2675 are below zero: the playback view keeps its size, the service
  // view takes it over, and the lists still get theirs.
  ExpectRect(out.rects[kWebBrowser1], 2040, 0, 8775, 4455);
  ExpectRect(out.rects[kWebBrowser2], 2040, 4455, 8775, 1455);
  EXPECT_EQ(out.rects[kList2].height, 950);
  EXPECT_EQ(out.rects[kList1].height, 600);
  for (const LayoutStep& step : FormResize(Window(100, 100, kTvView))) {
    if (step.action == kSetWidth || step.action == kSetHeight) {
      EXPECT_GE(step.value, 0);
    }
  }
}

TEST(FormResize, ArithmeticIsSinglePrecision) {
  // 16777217 is not a float: the sum is done in float and handed on as it came out.
  Outcome out = LayOut(Window(16779317.0f, 10000, kTvView));
  EXPECT_EQ(out.rects[kWebBrowser1].width, static_cast<double>(16779317.0f - 2100.0f));
}

TEST(ViewModes, VipTitleAndPanelBar) {
  EXPECT_TRUE(IsVipTitle(u"塔沃高清影音 V2.02 账号：u VIP用户 欢迎 官方网站：x"));
  EXPECT_FALSE(IsVipTitle(u"塔沃高清影音 V2.02 账号：u 尊贵VIP用户 官方网站：x"));
  EXPECT_FALSE(IsVipTitle(u"塔沃高清影音 V2.02 账号：u 普通用户 官方网站：x"));
  EXPECT_EQ(ViewModeAfterPanelBar(kRadioView), kCollapsedView);
  EXPECT_EQ(ViewModeAfterPanelBar(kCollapsedView), kTvView);
  EXPECT_EQ(ViewModeAfterPanelBar(kTvView), kCollapsedView);
}

}  // namespace
}  // namespace talvo
