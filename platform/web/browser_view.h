// What the windows ask of an embedded browser: navigate, stay silent, give the page's visible
// text, say when a load has finished, and sit at a rectangle given in twips. Backends: the real
// engine (webview_browser), a notice where there is none (no_engine_view), and a recording one
// for window tests (tests/support/recording_browser).
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "platform/twips_ui.h"
#include "platform/web/cast_source.h"

class wxWindow;

namespace talvo {

class BrowserView : public TwipsPlaced {
 public:
  ~BrowserView() override;

  // Starts a load and returns at once; a later call replaces a load in progress.
  virtual void Navigate(const std::u16string& address) = 0;
  // For addresses that arrive in the service's data (list entries, bulletin links): only an
  // http:// or https:// address is loaded, anything else is ignored. True when it was loaded.
  bool NavigateToWebAddress(const std::u16string& address);
  // No dialogs of the page's own: script alerts, prompts, permission requests.
  virtual void SetSilent(bool silent) = 0;
  // The loaded document's visible text (empty when there is none yet), handed to `done` later
  // from the event loop, with no loop of its own; never when the view goes first.
  virtual void ReadBodyText(std::function<void(std::u16string)> done) = 0;

  // Runs after every finished load, "about:blank" included.
  void SetLoadCompleted(std::function<void()> handler) { load_completed_ = std::move(handler); }
  // Runs when the page asks for fullscreen (true), the player's own button, and when it leaves
  // it (false).
  void SetFullscreenChanged(std::function<void(bool)> handler) {
    fullscreen_changed_ = std::move(handler);
  }
  // Runs when the desktop's media controls ask for the next (1) or previous (-1) item while
  // this view's page plays.
  void SetMediaStep(std::function<void(int)> handler) { media_step_ = std::move(handler); }
  // Runs when the viewer double-clicks anywhere in the page, a player in a frame included.
  void SetDoubleClicked(std::function<void()> handler) { double_clicked_ = std::move(handler); }
  // Runs when an element of the page on show starts playing something else than before.
  void SetMediaChanged(std::function<void()> handler) { media_changed_ = std::move(handler); }
  // What the page on show plays, as it last told: nothing before it plays.
  const PageMedia& Media() const { return media_; }
  // A line of ours over the bottom of the view, on this page and the ones to come; the empty
  // text takes it away.
  virtual void SetCastLine(const std::u16string& /*text*/) {}
  // Asks the page to leave its own fullscreen, when it is in it.
  virtual void ExitPageFullscreen() {}
  // The sound of every page the view shows from now on, the page on show included: muted or
  // not, and the volume of its players in percent, set as each player loads or starts.
  virtual void SetSound(bool muted, int volume_percent) = 0;
  // The proxy for every page from now on, as Config::proxy says it; the views of one engine
  // share it.
  virtual void SetProxy(const std::string& proxy) = 0;
  // Whether the keyboard focus is in a field of the page that takes typing: keys that mean
  // something to the client then stay the page's.
  virtual bool TypingInPage() const { return false; }

 protected:
  explicit BrowserView(wxWindow* window) : TwipsPlaced(window) {}
  void NotifyLoadCompleted() {
    if (load_completed_) load_completed_();
  }
  void NotifyFullscreen(bool entered) {
    if (fullscreen_changed_) fullscreen_changed_(entered);
  }
  void NotifyMediaStep(int by) {
    if (media_step_) media_step_(by);
  }
  void NotifyDoubleClicked() {
    if (double_clicked_) double_clicked_();
  }
  // What a page message of kCastWatchScript told; a new page plays nothing until it tells.
  void NotifyMedia(PageMedia media) {
    if (media == media_) return;
    media_ = std::move(media);
    if (media_changed_ && !media_.element_source.empty()) media_changed_();
  }
  void ForgetMedia() { media_ = {}; }

  // What the units set above; a view of its own may see which are set.
  std::function<void()> load_completed_;
  std::function<void(bool)> fullscreen_changed_;
  std::function<void(int)> media_step_;
  std::function<void()> double_clicked_;
  std::function<void()> media_changed_;

 private:
  PageMedia media_;
};

using BrowserViewFactory = std::function<std::unique_ptr<BrowserView>(wxWindow* parent)>;

}  // namespace talvo
