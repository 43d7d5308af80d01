// What a view of the engine does when its page does not come: a notice of ours in place of the
// engine's error page, tried again on a backoff, at once when the network or the page's host is
// back; a page process that crashed or hangs ended and its pages loaded again, within a budget.
#pragma once

#include <webkit2/webkit2.h>

#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/network_return.h"
#include "platform/web/host_probe_gio.h"
#include "platform/web/page_outage.h"
#include "platform/web/page_safety.h"

class wxWindow;

namespace talvo {

class PageRecovery;

// The views that share one page process. When it ends, every one of them has lost its page,
// whether or not the engine tells each of them (after a redirect to a local file, WebKitGTK 2.50
// told only the view that loaded it): they load their pages again together, and only the view whose
// page was chosen last pays from its own budget.
struct PageProcessGroup {
  std::vector<PageRecovery*> views;
  guint recovery_source = 0;
};

class PageRecovery {
 public:
  // Runs a trivial script in the page and calls its argument when the page answers.
  using Ping = std::function<void(std::function<void()> answered)>;
  // `window` is the view's, for what readers are told; `group` the views sharing its process.
  PageRecovery(WebKitWebView* web, wxWindow* window, std::shared_ptr<PageProcessGroup> group,
               Ping ping);
  ~PageRecovery();
  PageRecovery(const PageRecovery&) = delete;
  PageRecovery& operator=(const PageRecovery&) = delete;

  // A new choice: whatever was being retried or given up on is left behind.
  void Chosen(const std::string& address);
  std::shared_ptr<PageProcessGroup> Group() const { return group_; }
  // A notice of ours stands in for the page: its own retries load it again.
  bool NoticeShows() const { return stalled_ || !outage_address_.empty(); }

 private:
  static void OnLoadChanged(WebKitWebView* web, WebKitLoadEvent event, gpointer self);
  static gboolean OnLoadFailed(WebKitWebView*, WebKitLoadEvent, gchar* uri, GError* error,
                               gpointer self);
  static void OnProcessEnded(WebKitWebView*, WebKitWebProcessTerminationReason reason,
                             gpointer self);
  static gboolean OnRecoveryTime(gpointer group);
  static void OnResponsivenessChanged(WebKitWebView* web, GParamSpec*, gpointer);
  static gboolean OnPingTime(gpointer self);
  static gboolean OnAnswerTime(gpointer self);
  static gboolean OnRetryTime(gpointer self);

  void AwaitAnswer(std::string address);
  void StopAnswerTimer();
  void ShowOutage(LoadTrouble trouble, const std::string& address);
  void TryAgain();
  void LeaveOutage();
  void StopRetryTimer();
  void Recover(bool blamed);

  WebKitWebView* web_;
  wxWindow* window_;
  std::shared_ptr<PageProcessGroup> group_;
  Ping ping_;
  std::string last_address_;
  std::chrono::steady_clock::time_point chosen_at_{};
  ReloadBudget reloads_;
  ReloadBudget neighbour_reloads_{10};
  bool stalled_ = false;  // the notice of a page that kept ending its process is on show
  // The page that could not be loaded, while its notice is on show, and when to try it again.
  std::string outage_address_;
  RetryRule retry_;
  guint retry_source_ = 0;
  bool notice_loading_ = false;
  NetworkReturnListener on_network_return_;
  HostProbe host_probe_;
  // The load whose document has not begun to arrive yet, given up at kAnswerBound.
  std::string answer_address_;
  guint answer_source_ = 0;
  guint ping_source_ = 0;
  unsigned pings_ = 0;
  std::optional<std::chrono::steady_clock::time_point> ping_sent_;  // unanswered since
};

}  // namespace talvo
