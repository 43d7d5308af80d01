// The window tests on the real page engine: Form1 as the application makes it, against one
// service for every host, and a bare view in a frame of its own.
#pragma once

#include <wx/frame.h>

#include <chrono>
#include <filesystem>
#include <memory>
#include <optional>
#include <string_view>

#include "core/fetcher.h"
#include "core/utf.h"
#include "mainwindow/form1.h"
#include "platform/web/webview_browser.h"
#include "tests/gui/gui_test.h"
#include "tests/support/form1_probe.h"
#include "tests/support/scratch.h"

namespace talvo::testing {

// `view`'s visible text as the client reads it, waited for; empty when no answer came within
// `timeout_ms` (a hung page is ended by then) or the view went first.
inline std::u16string ReadText(BrowserView& view, int timeout_ms = 8000) {
  auto text = std::make_shared<std::optional<std::u16string>>();
  view.ReadBodyText([text](std::u16string answer) { *text = std::move(answer); });
  WaitFor([&] { return text->has_value(); }, timeout_ms);
  return text->value_or(std::u16string());
}

// Once `view`'s visible text holds `text`; a failure says what the view showed instead.
inline ::testing::AssertionResult Shows(BrowserView& view, std::u16string_view text,
                                        int timeout_ms = 20000) {
  if (WaitFor([&] { return ReadText(view).find(text) != std::u16string::npos; }, timeout_ms)) {
    return ::testing::AssertionSuccess();
  }
  return ::testing::AssertionFailure()
         << "waited " << timeout_ms << " ms for \"" << Utf16ToUtf8(text)
         << "\"; the page shows: " << Utf16ToUtf8(ReadText(view));
}

// The real engine: Form1 with its page views, or one silent view filling a frame of its own.
class EngineFixture : public ::testing::Test {
 protected:
  void SetUp() override { SetFetchesEnabled(true); }
  void TearDown() override {
    view_.reset();
    for (wxWindow* window : {static_cast<wxWindow*>(form_), static_cast<wxWindow*>(frame_)}) {
      if (window) DestroyAndWait(window);
    }
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
    EXPECT_TRUE(WaitFor(
        "the main window to be active", [&] { return form_->IsActive(); }, 20000));
    return *form_;
  }
  Form1Probe probe() const { return Form1Probe(*form_); }

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

  TempFolder folder_{"engine"};
  Form1Options options_;
  Form1* form_ = nullptr;
  wxFrame* frame_ = nullptr;
  std::unique_ptr<BrowserView> view_;
};

}  // namespace talvo::testing
