#include "platform/clickable_menu_bar.h"

#include <gtest/gtest.h>
#include <wx/app.h>
#include <wx/frame.h>
#include <wx/menu.h>

#include "platform/wx_text.h"
#include "tests/gui/gui_test.h"

namespace talvo {
namespace {

class ClickableMenuBarTest : public ::testing::Test {
 protected:
  void SetUp() override {
    frame_ = new wxFrame(nullptr, wxID_ANY, "menu bar test");
    bar_ = std::make_unique<ClickableMenuBar>(frame_);
    bar_->Attach();
  }
  void TearDown() override {
    bar_.reset();
    testing::DestroyAndWait(frame_);
  }

  // What GTK reports when an entry on the bar is clicked; the entry acts once the bar has let go.
  void Click(int index) {
    wxMenu* menu = bar_->MenuOf(index);
    ASSERT_NE(menu, nullptr) << "entry " << index << " is not on the bar";
    Open(menu);
  }
  void Open(wxMenu* menu) {
    wxMenuEvent event(wxEVT_MENU_OPEN, 0, menu);
    event.SetEventObject(frame_);
    frame_->HandleWindowEvent(event);
    wxTheApp->ProcessPendingEvents();
  }

  std::vector<std::u16string> BarLabels() {
    std::vector<std::u16string> labels;
    wxMenuBar* bar = frame_->GetMenuBar();
    for (size_t i = 0; i < bar->GetMenuCount(); ++i) labels.push_back(FromWx(bar->GetMenuLabel(i)));
    return labels;
  }

  wxFrame* frame_ = nullptr;
  std::unique_ptr<ClickableMenuBar> bar_;
};

TEST_F(ClickableMenuBarTest, EachClickRunsItsOwnEntry) {
  std::vector<int> clicks;
  bar_->Add(u"看电视", [&] { clicks.push_back(0); });
  bar_->Add(u"听广播", [&] { clicks.push_back(1); });
  Click(1);
  Click(0);
  Click(0);
  EXPECT_EQ(clicks, (std::vector<int>{1, 0, 0}));
}

TEST_F(ClickableMenuBarTest, EmptyCaptionsStayOffTheBarUntilTheyGetText) {
  std::vector<int> clicks;
  bar_->Add(u"看电视", nullptr);
  const int n1 = bar_->Add(u"", [&] { clicks.push_back(1); });
  const int n2 = bar_->Add(u"", [&] { clicks.push_back(2); });
  EXPECT_EQ(BarLabels(), std::vector<std::u16string>{u"看电视"});
  EXPECT_FALSE(bar_->IsShown(n1));

  bar_->SetCaption(n2, u"2、公告二");
  bar_->SetCaption(n1, u"1、公告一");
  EXPECT_EQ(BarLabels(), (std::vector<std::u16string>{u"看电视", u"1、公告一", u"2、公告二"}));
  Click(n2);
  EXPECT_EQ(clicks, std::vector<int>{2});

  bar_->SetCaption(n1, u"1、改过");
  bar_->SetCaption(n2, u"");
  EXPECT_EQ(BarLabels(), (std::vector<std::u16string>{u"看电视", u"1、改过"}));
  EXPECT_EQ(bar_->Caption(n2), u"");
  EXPECT_EQ(bar_->MenuOf(n2), nullptr);
}

TEST_F(ClickableMenuBarTest, HandlersSetLaterRunAndAnAmpersandIsShownAsItIs) {
  int clicks = 0;
  const int entry = bar_->Add(u"账号登陆", nullptr);
  bar_->SetOnClick(entry, [&] { ++clicks; });
  Click(entry);
  EXPECT_EQ(clicks, 1);

  // Text from the service: an "&" must not turn the next letter into an access key.
  const int n1 = bar_->Add(u"", nullptr);
  bar_->SetCaption(n1, u"1.R&B 专辑");
  EXPECT_EQ(FromWx(frame_->GetMenuBar()->GetMenuLabelText(1)), u"1.R&B 专辑");
  bar_->SetCaption(n1, u"1.A&&B");
  EXPECT_EQ(FromWx(frame_->GetMenuBar()->GetMenuLabelText(1)), u"1.A&&B");
}

TEST_F(ClickableMenuBarTest, MenusThatAreNotOnTheBarAreIgnored) {
  int clicks = 0;
  bar_->Add(u"窗口置顶", [&] { ++clicks; });
  wxMenu stranger;
  Open(&stranger);
  EXPECT_EQ(clicks, 0);
}

}  // namespace
}  // namespace talvo
