// What a browser view does when a page cannot be loaded for a network reason, without the
// engine: the notice it shows instead of the engine's own error page, and when it tries again.
#pragma once

#include <chrono>
#include <string>
#include <string_view>

namespace talvo {

// Why a page could not be loaded, in the few kinds a viewer can tell apart.
enum class LoadTrouble { kRefused, kTimedOut, kHostNotFound, kNoRoute, kReset, kSecure, kOther };

// The notice shown in the view's place, in Chinese: what happened, the host that was tried, that
// the page comes back by itself, and a 重新载入 button that loads `address` again. There is never a
// way past a failed secure connection.
std::string OutageNoticeHtml(LoadTrouble trouble, std::string_view address);

// When something that could not reach the service is tried again: 2, 4, 8 … s after each
// failure, at most 60 s apart, or at once when the network is back; never while a try is on its
// way, and not at all once it is no longer wanted (another page was chosen, or it arrived).
class RetryRule {
 public:
  // The first attempt or a try failed: the time until the next try.
  std::chrono::seconds Failed();
  // Whether to try now (the delay of Failed has passed, or the network is back); a try that is
  // answered true is on its way until the next Failed or Ended.
  bool TryNow();
  // Nothing is left to try.
  void Ended();
  bool Pending() const { return pending_; }

 private:
  int failures_ = 0;
  bool pending_ = false;
  bool trying_ = false;
};

}  // namespace talvo
