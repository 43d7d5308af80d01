// On Windows the names the system's readers read come from wx's accessible objects.
#include <gtest/gtest.h>
#include <wx/access.h>
#include <wx/listbox.h>

#include "mainwindow/panel_bar.h"
#include "platform/accessible_ui.h"
#include "platform/wx_text.h"
#include "tests/support/form1_fixture.h"

namespace talvo {
namespace {

using AccessibleNamesTest = testing::Form1Fixture;

TEST_F(AccessibleNamesTest, TheListsAndThePanelBarAreReadByTheirNames) {
  StartService();
  Load();
  const Form1Parts& parts = probe().Parts();
  const struct {
    wxWindow* window;
    std::u16string name;
    wxAccRole role;
  } rows[] = {{parts.list2, u"电视频道", wxROLE_NONE},
              {parts.list1, u"广播电台", wxROLE_NONE},
              {parts.image1, u"显示或隐藏列表", wxROLE_SYSTEM_PUSHBUTTON}};
  for (const auto& row : rows) {
    wxAccessible* accessible = row.window->GetAccessible();
    ASSERT_NE(accessible, nullptr) << row.window->GetName();
    wxString name;
    EXPECT_EQ(accessible->GetName(wxACC_SELF, &name), wxACC_OK);
    EXPECT_EQ(FromWx(name), row.name);
    wxAccRole role = wxROLE_NONE;
    accessible->GetRole(wxACC_SELF, &role);
    EXPECT_EQ(role, row.role) << row.window->GetName();
  }
  // In the TV view the station list lies under the channel list: Tab passes it over.
  form_->Show();
  EXPECT_TRUE(WaitFor("the station list out of the Tab order",
                      [&] { return !parts.list1->CanAcceptFocusFromKeyboard(); }));
  EXPECT_TRUE(parts.list2->CanAcceptFocusFromKeyboard());
  PassOver(parts.list1, false);
  EXPECT_TRUE(parts.list1->CanAcceptFocusFromKeyboard());
  // What a screen reader is told without the focus moving: an alert of that name.
  AnnounceToReaders(parts.list2, u"正在播放 北京卫视高清");
  wxWindow* announcer = form_->FindWindow("announcer");
  ASSERT_NE(announcer, nullptr);
  wxString told;
  announcer->GetAccessible()->GetName(wxACC_SELF, &told);
  EXPECT_EQ(FromWx(told), u"正在播放 北京卫视高清");
}

}  // namespace
}  // namespace talvo
