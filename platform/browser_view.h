// What the windows ask of an embedded browser: navigate, stay silent, give the page's visible
// text, say when a load has finished, and sit at a rectangle given in twips. Backends: the real
// engine (webview_browser) and a recording one for window tests (recording_browser).
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "platform/twips.h"

class wxWindow;

namespace talvo {

class BrowserView {
 public:
  virtual ~BrowserView();
  BrowserView(const BrowserView&) = delete;
  BrowserView& operator=(const BrowserView&) = delete;

  // Starts a load and returns at once; a later call replaces a load in progress.
  virtual void Navigate(const std::u16string& address) = 0;
  // No dialogs of the page's own: script alerts, prompts, permission requests.
  virtual void SetSilent(bool silent) = 0;
  // The loaded document's visible text; empty when there is none yet.
  virtual std::u16string BodyText() = 0;

  // Runs after every finished load, "about:blank" included.
  void SetLoadCompleted(std::function<void()> handler) { load_completed_ = std::move(handler); }

  // Geometry in twips. Reading gives the value last set; a negative width or height is refused
  // and the old value stays.
  double Left() const { return rect_.left; }
  double Top() const { return rect_.top; }
  double Width() const { return rect_.width; }
  double Height() const { return rect_.height; }
  void SetLeft(double twips);
  void SetTop(double twips);
  void SetWidth(double twips);
  void SetHeight(double twips);
  void SetRect(const TwipsRect& rect);

  wxWindow* Window() const { return window_; }

 protected:
  explicit BrowserView(wxWindow* window) : window_(window) {}
  void NotifyLoadCompleted() {
    if (load_completed_) load_completed_();
  }

 private:
  void Apply();

  wxWindow* window_;
  TwipsRect rect_;
  std::function<void()> load_completed_;
};

using BrowserViewFactory = std::function<std::unique_ptr<BrowserView>(wxWindow* parent)>;

// Places a window at a rectangle given in twips, from the window's own DPI scale.
void PlaceInTwips(wxWindow* window, const TwipsRect& rect);

}  // namespace talvo
