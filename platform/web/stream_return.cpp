#include "platform/web/stream_return.h"

#include "core/debug_trace.h"
#include "core/service_address.h"
#include "core/utf.h"
#include "platform/accessible_ui.h"

namespace talvo {
namespace {

// A load of the page that brings no playing media within this long failed, as one that fails.
constexpr auto kAttemptFor = std::chrono::seconds(10);
// A stream that stops again this soon after it came back is retried on the backoff, not at once:
// a stream that plays a moment and fails never makes a storm of loads.
constexpr auto kSettleFor = std::chrono::seconds(30);

int Milliseconds(std::chrono::milliseconds span) { return static_cast<int>(span.count()); }

}  // namespace

StreamReturn::StreamReturn(wxWindow* window, Hooks hooks)
    : window_(window), hooks_(std::move(hooks)) {
  stall_timer_.Bind(wxEVT_TIMER, [this](wxTimerEvent&) {
    if (!away_since_ && rule_.Stalled(Clock::now())) Stopped();
  });
  retry_timer_.Bind(wxEVT_TIMER, [this](wxTimerEvent&) { TryAgain(); });
  attempt_timer_.Bind(wxEVT_TIMER, [this](wxTimerEvent&) { AttemptFailed(); });
}

void StreamReturn::Chosen(const std::string& address) {
  EndWatch();
  retry_.Ended();
  back_at_.reset();
  address_ = address;
  last_origin_.clear();
  rule_.Reset();
  if (IsWebAddress(Utf8ToUtf16(address))) {
    stall_timer_.Start(1000);
  } else {
    stall_timer_.Stop();
  }
}

void StreamReturn::HostChecked(bool answered) {
  if (!away_since_ || !retry_.HostChecked(answered)) return;
  DebugTrace("stream", origin_ + " answers again");
  TryAgain();
}

void StreamReturn::Reported(const MediaReport& report) {
  if (report.origin != "-") last_origin_ = report.origin;
  if (!away_since_) {
    if (rule_.Reported(report, Clock::now())) Stopped();
    return;
  }
  if (report.kind == MediaReport::Kind::kPlaying) {
    Back(report);
  } else if (trying_ && (report.kind == MediaReport::Kind::kError ||
                         report.kind == MediaReport::Kind::kEnded)) {
    AttemptFailed();
  }
}

void StreamReturn::Stopped() {
  if (address_.empty()) return;
  const Clock::time_point now = Clock::now();
  const bool again_soon = back_at_ && now - *back_at_ < kSettleFor;
  if (!again_soon) retry_.Ended();  // an outage of its own: the backoff starts from its start
  away_since_ = now;
  // A stream whose origin was never told is the page's own.
  origin_ = last_origin_.empty() ? address_ : last_origin_;
  DebugTrace("stream", address_ + ": its stream from " + origin_ + " stopped; reconnecting");
  AnnounceToReaders(window_, u"信号中断，正在重新连接");
  hooks_.show_line(true);
  hooks_.watch_host(origin_ + "/");
  // Loaded again at once: a stream whose server is back plays, and a page whose server is away
  // shows its notice, whose host checks load it the moment it answers.
  const std::chrono::seconds wait = retry_.Failed(LoadTrouble::kReset);
  if (again_soon) {
    retry_timer_.StartOnce(Milliseconds(wait));
  } else {
    TryAgain();
  }
}

// The backoff is up or the stream's host answers again: the page is loaded again, unless its own
// notice shows, whose retries load it.
void StreamReturn::TryAgain() {
  if (!away_since_ || hooks_.page_notice_shows()) return;
  if (!retry_.TryNow()) return;
  retry_timer_.Stop();
  trying_ = true;
  DebugTrace("stream", address_ + ": loaded again for its stream");
  hooks_.reload(address_);
  attempt_timer_.StartOnce(Milliseconds(kAttemptFor));
}

void StreamReturn::AttemptFailed() {
  if (!trying_) return;
  trying_ = false;
  attempt_timer_.Stop();
  retry_timer_.StartOnce(Milliseconds(retry_.Failed(LoadTrouble::kReset)));
}

void StreamReturn::Back(const MediaReport& report) {
  const auto silent =
      std::chrono::duration_cast<std::chrono::seconds>(Clock::now() - *away_since_).count();
  DebugTrace("stream", address_ + ": playing again; its stream from " + origin_ + " was silent " +
                           std::to_string(silent) + " s");
  AnnounceToReaders(window_, u"信号已恢复");
  EndWatch();
  back_at_ = Clock::now();
  rule_.Reported(report, Clock::now());
}

// Nothing is away any more, or it no longer matters: the line goes and no try is left.
void StreamReturn::EndWatch() {
  if (away_since_) hooks_.show_line(false);
  away_since_.reset();
  trying_ = false;
  retry_timer_.Stop();
  attempt_timer_.Stop();
  hooks_.stop_host();
  rule_.Reset();
}

}  // namespace talvo
