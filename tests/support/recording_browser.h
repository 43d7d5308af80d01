// A browser view that loads nothing and records what it was asked: the window tests' stand-in
// for the engine. It is a real child window, so geometry behaves as with the engine.
#pragma once

#include <wx/window.h>

#include <string>
#include <vector>

#include "platform/web/browser_view.h"

namespace talvo {

class RecordingBrowser final : public BrowserView {
 public:
  explicit RecordingBrowser(wxWindow* parent) : BrowserView(new wxWindow(parent, wxID_ANY)) {}

  void Navigate(const std::u16string& address) override {
    navigations_.push_back(address);
    ForgetMedia();
  }
  void SetCastLine(const std::u16string& text) override { cast_line_ = text; }
  void SetSilent(bool silent) override { silent_ = silent; }
  void SetProxy(const std::string&) override {}
  void SetSound(bool muted, int volume_percent) override {
    muted_ = muted;
    volume_ = volume_percent;
  }
  void ReadBodyText(std::function<void(std::u16string)> done) override { done(body_text_); }
  // How many of the view's callbacks a unit has set.
  int CallbacksSet() const {
    return (load_completed_ ? 1 : 0) + (fullscreen_changed_ ? 1 : 0) + (media_step_ ? 1 : 0) +
           (double_clicked_ ? 1 : 0) + (media_changed_ ? 1 : 0);
  }

  const std::vector<std::u16string>& Navigations() const { return navigations_; }
  bool Silent() const { return silent_; }
  bool Muted() const { return muted_; }
  int Volume() const { return volume_; }
  const std::u16string& CastLine() const { return cast_line_; }
  // The page's element starts playing `media`, as the engine's page would tell.
  void Plays(PageMedia media) { NotifyMedia(std::move(media)); }
  // Sets the page text and reports a finished load, as the engine would.
  void FinishLoad(const std::u16string& body_text) {
    body_text_ = body_text;
    NotifyLoadCompleted();
  }

  static BrowserViewFactory Factory() {
    return [](wxWindow* parent) { return std::make_unique<RecordingBrowser>(parent); };
  }

 private:
  std::vector<std::u16string> navigations_;
  std::u16string body_text_;
  std::u16string cast_line_;
  bool silent_ = false;
  bool muted_ = false;
  int volume_ = 100;
};

}  // namespace talvo
