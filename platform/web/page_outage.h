// What a browser view does when a page cannot be loaded for a network reason, without the
// engine: the notice it shows instead of the engine's own error page, and when it tries again.
#pragma once

#include <chrono>
#include <string>
#include <string_view>

namespace talvo {

// Why a page could not be loaded, in the few kinds a viewer can tell apart.
enum class LoadTrouble {
  kRefused,
  kTimedOut,
  kHostNotFound,
  kNoRoute,
  kReset,
  kSecure,
  kNoAnswer,  // connected, but no document began to arrive within kAnswerBound
  kOther
};

// How long a page's document may take to begin to arrive before the load is given up. A server
// that accepts the connection and never answers would otherwise leave the old picture up, with
// no word, for good; the engine's own limit is minutes.
inline constexpr std::chrono::seconds kAnswerBound{15};

// While a notice shows, its page's host is checked (a connection, no page) this often, for this
// long after the first failure, so that the service's return is seen at once even when the
// desktop's network never changed; after that the backoff alone tries again.
inline constexpr std::chrono::milliseconds kHostCheckEvery{1500};
inline constexpr std::chrono::minutes kHostCheckFor{3};

// The notice shown in the view's place, in Chinese: what happened, the host that was tried, that
// the page comes back by itself, and a 重新载入 button that loads `address` again. There is never a
// way past a failed secure connection.
std::string OutageNoticeHtml(LoadTrouble trouble, std::string_view address);
// Shown instead of a page that keeps ending its page process, once its reloads are used up.
inline constexpr const char* kStalledNoticeHtml =
    "<html><body style='margin:0;background:#000;color:#ccc;font:16px sans-serif;"
    "text-align:center;padding-top:15%'>此页面反复停止运行，已不再自动重新载入。<br>"
    "请稍后再次点选频道或电台。</body></html>";
// The notice's headline alone: "无法连接到服务器".
std::string_view OutageHeadline(LoadTrouble trouble);
// What a screen reader is told as the notice appears: the headline, and that the page comes back.
std::string OutageAnnouncement(LoadTrouble trouble);

// When something that could not reach the service is tried again: 2, 4, 8 … s after each
// failure, at most 60 s apart, or at once when the network is back; never while a try is on its
// way, and not at all once it is no longer wanted (another page was chosen, or it arrived).
class RetryRule {
 public:
  // The first attempt or a try failed, and why: the time until the next try.
  std::chrono::seconds Failed(LoadTrouble trouble = LoadTrouble::kOther);
  // Whether to try now (the delay of Failed has passed, or the network is back); a try that is
  // answered true is on its way until the next Failed or Ended.
  bool TryNow();
  // Nothing is left to try.
  void Ended();
  // A check of the host made while the notice shows: true when the page should be tried at once,
  // because the host answers now after the last failure or a check since found it silent. A host
  // that answered all along (it accepts, and its pages fail) is left to the backoff.
  bool HostChecked(bool answered);

 private:
  int failures_ = 0;
  bool pending_ = false;
  bool trying_ = false;
  bool host_missed_ = false;
};

}  // namespace talvo
