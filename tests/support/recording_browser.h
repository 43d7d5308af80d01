// A browser view that loads nothing and records what it was asked: the window tests' stand-in
// for the engine. It is a real child window, so geometry behaves as with the engine.
#pragma once

#include <string>
#include <vector>

#include "platform/web/browser_view.h"

namespace talvo {

class RecordingBrowser final : public BrowserView {
 public:
  explicit RecordingBrowser(wxWindow* parent);

  void Navigate(const std::u16string& address) override;
  void SetSilent(bool silent) override { silent_ = silent; }
  void SetProxy(const std::string& proxy) override { proxy_ = proxy; }
  void SetSound(bool muted, int volume_percent) override {
    muted_ = muted;
    volume_ = volume_percent;
  }
  std::u16string BodyText() override { return body_text_; }
  void ReadBodyText(std::function<void(std::u16string)> done) override { done(body_text_); }

  const std::vector<std::u16string>& Navigations() const { return navigations_; }
  bool Silent() const { return silent_; }
  bool Muted() const { return muted_; }
  int Volume() const { return volume_; }
  const std::string& Proxy() const { return proxy_; }
  // Sets the page text and reports a finished load, as the engine would.
  void FinishLoad(const std::u16string& body_text);

  static BrowserViewFactory Factory();

 private:
  std::vector<std::u16string> navigations_;
  std::u16string body_text_;
  bool silent_ = false;
  bool muted_ = false;
  int volume_ = 100;
  std::string proxy_;
};

}  // namespace talvo
