// Brings back the stream under a page that stays: when the watch script's reports show that the
// stream stopped without the viewer, a quiet line of ours lies over the view, the stream's host is
// checked, and the page is loaded again on the backoff pages use, at once when that host answers;
// the line goes when the media plays again. A newer choice ends the watch of the old one.
#pragma once

#include <wx/timer.h>

#include <chrono>
#include <functional>
#include <optional>
#include <string>

#include "platform/web/page_outage.h"
#include "platform/web/stream_watch.h"

class wxWindow;

namespace talvo {

class StreamReturn {
 public:
  // What the view does for it.
  struct Hooks {
    std::function<void(const std::string& address)> reload;  // the page again, not a new choice
    std::function<void(bool shown)> show_line;
    std::function<bool()> page_notice_shows;  // the page itself failed: its own retries bring it
    // Checks of the stream's host from now on, told back through HostChecked; and no more.
    // Where the system has no such check, both do nothing and the backoff alone decides.
    std::function<void(const std::string& address)> watch_host;
    std::function<void()> stop_host;
  };
  // `window` is the view's, for what readers are told.
  StreamReturn(wxWindow* window, Hooks hooks);
  StreamReturn(const StreamReturn&) = delete;
  StreamReturn& operator=(const StreamReturn&) = delete;

  void Chosen(const std::string& address);
  // A new document in the view: its elements are new ones.
  void DocumentChanged() { rule_.Reset(); }
  void Reported(const MediaReport& report);
  // A check of the stream's host found it answering, or not.
  void HostChecked(bool answered);

 private:
  using Clock = std::chrono::steady_clock;
  void Stopped();
  void TryAgain();
  void AttemptFailed();
  void Back(const MediaReport& report);
  void EndWatch();

  wxWindow* window_;
  Hooks hooks_;
  StreamRule rule_;
  std::string address_;      // the page chosen last
  std::string last_origin_;  // the stream's, as last reported
  // While the stream is away: where it came from, since when, and the loads to bring it back.
  std::string origin_;
  std::optional<Clock::time_point> away_since_;
  bool trying_ = false;
  RetryRule retry_;
  std::optional<Clock::time_point> back_at_;  // when it last came back
  wxTimer stall_timer_;
  wxTimer retry_timer_;
  wxTimer attempt_timer_;
};

}  // namespace talvo
