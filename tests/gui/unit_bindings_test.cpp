// Each feature unit's handlers live exactly as long as the unit: once it is gone, the frame and
// the controls it listened to carry none of them, and the parts that outlive it (the menu bar,
// the panel bar, the views) keep none of its callbacks, so nothing they send while the window
// comes down reaches a unit that was freed.
#include <gtest/gtest.h>
#include <wx/button.h>
#include <wx/frame.h>
#include <wx/listbox.h>
#include <wx/timer.h>

#include <functional>
#include <memory>

#include "mainwindow/bulletin_menu_ui.h"
#include "mainwindow/form1_parts.h"
#include "mainwindow/fullscreen_ui.h"
#include "mainwindow/layout_ui.h"
#include "mainwindow/list_find_ui.h"
#include "mainwindow/page_list_ui.h"
#include "mainwindow/panel_bar.h"
#include "mainwindow/service_lists_ui.h"
#include "mainwindow/sleep_timer_ui.h"
#include "mainwindow/startup_catch_up_ui.h"
#include "mainwindow/viewer_memory_ui.h"
#include "mainwindow/window_options_ui.h"
#include "platform/clickable_menu_bar.h"
#include "platform/config.h"
#include "platform/skin_ui.h"
#include "signin/login_ui.h"
#include "tests/gui/gui_test.h"
#include "tests/support/recording_browser.h"
#include "tests/support/scratch.h"

namespace talvo {

// The callbacks the parts that outlive the units hold, which they keep to themselves.
struct testing::PartsProbe {
  static int Set(const PageList& list) { return (list.marked_ ? 1 : 0) + (list.opened_ ? 1 : 0); }
  static int Set(const PanelBar& bar) { return bar.on_click_ ? 1 : 0; }
  static int Set(const ClickableMenuBar& bar, int entry) {
    return bar.entries_.at(entry).on_click ? 1 : 0;
  }
};

namespace {

using testing::PartsProbe;

// A window that can say how many handlers are bound to it at run time.
template <typename Window>
class Counted : public Window {
 public:
  using Window::Window;
  int BoundHandlers() const {
    int bound = 0;
    if (this->m_dynamicEvents != nullptr) {
      for (const auto* entry : *this->m_dynamicEvents) bound += entry != nullptr ? 1 : 0;
    }
    return bound;
  }
};

class UnitBindingsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    frame_ = new Counted<wxFrame>(nullptr, wxID_ANY, "units");
    list1_ = new Counted<wxListBox>(frame_, wxID_ANY);
    list2_ = new Counted<wxListBox>(frame_, wxID_ANY);
    command2_ = new Counted<wxButton>(frame_, wxID_ANY, "2");
    command3_ = new Counted<wxButton>(frame_, wxID_ANY, "3");
    browser1_ = std::make_unique<RecordingBrowser>(frame_);
    browser2_ = std::make_unique<RecordingBrowser>(frame_);
    menus_ = std::make_unique<ClickableMenuBar>(frame_);
    for (int entry = kJiemu; entry <= kDingshi; ++entry) menus_->Add(u"entry", nullptr);
    menus_->Attach();
    skin_ = std::make_unique<Skin>(frame_);
    timer_ = std::make_unique<wxTimer>(frame_);
    parts_.frame = frame_;
    parts_.config = &config_;
    parts_.app_folder = folder_.path();
    parts_.web_browser1 = browser1_.get();
    parts_.web_browser2 = browser2_.get();
    parts_.menus = menus_.get();
    parts_.skin = skin_.get();
    parts_.list1 = list1_;
    parts_.list2 = list2_;
    parts_.command2 = command2_;
    parts_.command3 = command3_;
    image1_ = new PanelBar(frame_);
    parts_.image1 = image1_;
    parts_.timer1 = timer_.get();
    channels_ = std::make_unique<PageList>(list2_, *browser1_);
    stations_ = std::make_unique<PageList>(list1_, *browser1_);
  }

  void TearDown() override {
    stations_.reset();
    channels_.reset();
    timer_.reset();
    skin_.reset();
    menus_.reset();
    browser2_.reset();
    browser1_.reset();
    testing::DestroyAndWait(frame_);
  }

  // Handlers on every source a unit may listen to, then the callbacks set on each part.
  std::vector<int> Bound() const {
    std::vector<int> bound = {frame_->BoundHandlers(),     list1_->BoundHandlers(),
                              list2_->BoundHandlers(),     command2_->BoundHandlers(),
                              command3_->BoundHandlers(),  PartsProbe::Set(*image1_),
                              browser1_->CallbacksSet(),   browser2_->CallbacksSet(),
                              PartsProbe::Set(*channels_), PartsProbe::Set(*stations_)};
    for (int entry = 0; entry < menus_->Count(); ++entry)
      bound.push_back(PartsProbe::Set(*menus_, entry));
    return bound;
  }

  Config config_;
  testing::TempFolder folder_{"unit-bindings"};
  Counted<wxFrame>* frame_ = nullptr;
  Counted<wxListBox>* list1_ = nullptr;
  Counted<wxListBox>* list2_ = nullptr;
  Counted<wxButton>* command2_ = nullptr;
  Counted<wxButton>* command3_ = nullptr;
  PanelBar* image1_ = nullptr;
  std::unique_ptr<RecordingBrowser> browser1_;
  std::unique_ptr<RecordingBrowser> browser2_;
  std::unique_ptr<ClickableMenuBar> menus_;
  std::unique_ptr<Skin> skin_;
  std::unique_ptr<wxTimer> timer_;
  std::unique_ptr<PageList> channels_;
  std::unique_ptr<PageList> stations_;
  Form1Parts parts_;
};

// Fullscreen with the layout it suspends, made and gone together: two layouts at once would set
// the same callbacks, which the window never does.
struct WithLayout {
  explicit WithLayout(const Form1Parts& parts) : layout(parts), fullscreen(parts, layout) {}
  ViewLayout layout;
  Fullscreen fullscreen;
};

// The catch-up redoes the layout once the service answers; it is made with one of its own.
struct WithCatchUp {
  explicit WithCatchUp(const Form1Parts& parts) : layout(parts), catch_up(layout) {}
  ViewLayout layout;
  StartupCatchUp catch_up;
};

// The sleep timer reads the viewer's sound from the viewer's unit, made with it.
struct WithViewer {
  WithViewer(const Form1Parts& parts, PageList& channels, PageList& stations)
      : viewer(parts, channels, stations, [] { return std::u16string(); }), sleep(parts, viewer) {}
  ViewerMemory viewer;
  SleepTimerMenu sleep;
};

TEST_F(UnitBindingsTest, AUnitThatIsGoneLeavesNoHandlerOnTheWindow) {
  LoginWindow login(parts_);
  StartupSignIn signin(parts_, login);  // the lists' collaborator
  struct Row {
    const char* unit;
    std::function<std::shared_ptr<void>()> make;
  };
  const Row rows[] = {
      {"ViewLayout", [&] { return std::make_shared<ViewLayout>(parts_); }},
      {"Fullscreen", [&] { return std::make_shared<WithLayout>(parts_); }},
      {"PageList", [&] { return std::make_shared<PageList>(list2_, *browser1_); }},
      {"ProgrammeList", [&] { return std::make_shared<ProgrammeList>(parts_, signin); }},
      {"StationList", [&] { return std::make_shared<StationList>(parts_, signin); }},
      {"BulletinMenu", [&] { return std::make_shared<BulletinMenu>(parts_); }},
      {"WindowOptions", [&] { return std::make_shared<WindowOptions>(parts_); }},
      {"Skin", [&] { return std::make_shared<Skin>(frame_); }},
      {"ViewerMemory",
       [&] {
         return std::make_shared<ViewerMemory>(parts_, *channels_, *stations_,
                                               [] { return std::u16string(); });
       }},
      {"ListFind", [&] { return std::make_shared<ListFind>(frame_, *channels_, u"查找频道"); }},
      {"StartupCatchUp", [&] { return std::make_shared<WithCatchUp>(parts_); }},
      {"SleepTimerMenu",
       [&] { return std::make_shared<WithViewer>(parts_, *channels_, *stations_); }},
  };
  for (const Row& row : rows) {
    const std::vector<int> before = Bound();
    std::shared_ptr<void> unit = row.make();
    EXPECT_NE(Bound(), before) << row.unit << " bound nothing: the check would see nothing";
    unit.reset();
    EXPECT_EQ(Bound(), before) << row.unit << " left a handler behind";
  }
}

}  // namespace
}  // namespace talvo
