// The window tests on the real page engine: Form1 as the application makes it, against one
// service for every host, and a bare view in a frame of its own.
#pragma once

#include <wx/frame.h>

#include <chrono>
#include <filesystem>
#include <memory>
#include <string_view>

#include "core/fetcher.h"
#include "core/utf.h"
#include "mainwindow/form1.h"
#include "platform/web/webview_browser.h"
#include "tests/gui/gui_test.h"
#include "tests/support/scratch.h"

namespace talvo::testing {

// Once `view`'s visible text holds `text`; a failure says what the view showed instead.
inline ::testing::AssertionResult Shows(BrowserView& view, std::u16string_view text,
                                        int timeout_ms = 20000) {
  if (WaitFor([&] { return view.BodyText().find(text) != std::u16string::npos; }, timeout_ms)) {
    return ::testing::AssertionSuccess();
  }
  return ::testing::AssertionFailure()
         << "waited " << timeout_ms << " ms for \"" << Utf16ToUtf8(text)
         << "\"; the page shows: " << Utf16ToUtf8(view.BodyText());
}

// Form1 with its real page views.
class EngineForm1Fixture : public ::testing::Test {
 protected:
  void SetUp() override { SetFetchesEnabled(true); }
  void TearDown() override {
    if (form_) DestroyAndWait(form_);
    form_ = nullptr;
  }

  // Every host at `host_port`, `folder` (else one of the fixture's own) the application folder;
  // made, through its start-up, shown and active.
  Form1& StartOnTheEngine(const std::string& host_port, const std::filesystem::path& folder = {},
                          std::chrono::milliseconds station_timer = std::chrono::seconds(60)) {
    options_.config.primary_host = options_.config.tv_host = options_.config.channel_host =
        Utf8ToUtf16(host_port);
    options_.app_folder = folder.empty() ? folder_.path() : folder;
    options_.station_timer = station_timer;
    form_ = new Form1(options_);
    form_->Form_Load();
    form_->Show();
    EXPECT_TRUE(WaitFor("the main window to be active", [&] { return form_->IsActive(); }));
    return *form_;
  }

  TempFolder folder_{"engine"};
  Form1Options options_;
  Form1* form_ = nullptr;
};

// One silent view of the real engine filling a frame of its own.
class EngineViewFixture : public ::testing::Test {
 protected:
  void SetUp() override { SetFetchesEnabled(true); }
  void TearDown() override {
    view_.reset();
    if (frame_) DestroyAndWait(frame_);
    frame_ = nullptr;
  }

  BrowserView& ShowView(const char* title) {
    frame_ = new wxFrame(nullptr, wxID_ANY, title);
    view_ = CreateWebViewBrowser(frame_);
    view_->SetRect({0, 0, 9000, 6000});
    view_->SetSilent(true);
    frame_->SetClientSize(600, 400);
    frame_->Show();
    EXPECT_TRUE(WaitFor("the frame to be active", [&] { return frame_->IsActive(); }));
    return *view_;
  }

  wxFrame* frame_ = nullptr;
  std::unique_ptr<BrowserView> view_;
};

}  // namespace talvo::testing
