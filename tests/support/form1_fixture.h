// Form1 as the window tests build it: recording browser views, a fresh application folder, the
// given loopback hosts, and a station timer that stays out of the way unless a test shortens it.
// Form1Fixture is the ground most window tests stand on.
#pragma once

#include <gtest/gtest.h>
#include <wx/app.h>
#include <wx/listbox.h>
#include <wx/menu.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "core/fetcher.h"
#include "core/utf.h"
#include "mainwindow/form1.h"
#include "tests/gui/gui_test.h"
#include "tests/support/form1_probe.h"
#include "tests/support/loopback_server.h"
#include "tests/support/recording_browser.h"
#include "tests/support/scratch.h"

namespace talvo::testing {

inline Form1Options RecordingForm1Options(const LoopbackServer& primary, const LoopbackServer& tv,
                                          const std::filesystem::path& app_folder) {
  Form1Options options;
  options.app_folder = app_folder;
  options.config.primary_host = Utf8ToUtf16(primary.HostPort());
  options.config.tv_host = Utf8ToUtf16(tv.HostPort());
  options.browser_factory = RecordingBrowser::Factory();
  options.station_timer = std::chrono::seconds(60);
  return options;
}

// What a click on entry `row` of a list box raises.
inline void ChooseRow(wxListBox* list, int row) {
  list->SetSelection(row);
  wxCommandEvent event(wxEVT_LISTBOX, list->GetId());
  event.SetEventObject(list);
  event.SetInt(row);
  list->HandleWindowEvent(event);
}

// What GTK reports when an entry of the main window's menu bar is clicked, and the entry's
// action, which runs once the bar has let go.
inline void ClickMenuEntry(Form1& form, int entry) {
  wxMenuEvent event(wxEVT_MENU_OPEN, 0, Probe(form).Menus().MenuOf(entry));
  event.SetEventObject(&form);
  form.HandleWindowEvent(event);
  wxTheApp->ProcessPendingEvents();
}

// A view of a window made with RecordingForm1Options, as the recording view it is.
inline RecordingBrowser& Recording(BrowserView& view) {
  return dynamic_cast<RecordingBrowser&>(view);
}

// The requests `server` has had for `path`, in arrival order, each with its query.
inline std::vector<std::string> RequestsFor(const LoopbackServer& server, std::string_view path) {
  std::vector<std::string> found;
  for (const std::string& target : server.Targets()) {
    if (target.compare(0, target.find('?'), path) == 0) found.push_back(target);
  }
  return found;
}

// Form1 on recording views against a primary and a TV host on loopback, in a folder of its own.
// A fixture adds its handlers to the servers, then calls StartService().
class Form1Fixture : public ::testing::Test {
 protected:
  Form1Fixture() : options_(RecordingForm1Options(primary_, tv_, folder_)) {}

  void SetUp() override { SetFetchesEnabled(true); }
  // The servers stop before the fixture's own members go: their handlers may read them.
  void TearDown() override {
    if (form_) DestroyAndWait(form_);
    form_ = nullptr;
    primary_.Stop();
    tv_.Stop();
    SetFetchesEnabled(true);
  }

  void StartService() {
    primary_.Start();
    tv_.Start();
  }
  // Made and through its start-up sequence, not shown.
  Form1& Load() {
    form_ = new Form1(options_);
    form_->Form_Load();
    return *form_;
  }
  // Loaded and shown, as the application shows it.
  Form1& Start() {
    Load().Show();
    return *form_;
  }
  Form1Probe probe() const { return Form1Probe(*form_); }
  // What the playback view and the service view were asked to load, in order.
  const std::vector<std::u16string>& Playback() {
    return Recording(probe().WebBrowser1()).Navigations();
  }
  const std::vector<std::u16string>& ServiceView() {
    return Recording(probe().WebBrowser2()).Navigations();
  }

  LoopbackServer primary_;
  LoopbackServer tv_;
  TempFolder folder_{"form1"};
  Form1Options options_;
  Form1* form_ = nullptr;
};

}  // namespace talvo::testing

// The names every window test on Form1 uses, without their namespace.
namespace talvo {
using testing::LoopbackServer;
using testing::Probe;
using testing::WaitFor;
}  // namespace talvo
