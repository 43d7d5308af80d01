// What a view of the engine does when its page process crashes or hangs: the process is ended
// and its pages loaded again, within a budget, and then a notice stays instead.
#pragma once

#include <webkit2/webkit2.h>

#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/web/outage_recovery_webkit.h"
#include "platform/web/page_safety.h"

namespace talvo {

class ProcessRecovery;

// The views that share one page process. When it ends, every one of them has lost its page,
// whether or not the engine tells each of them (after a redirect to a local file, WebKitGTK 2.50
// told only the view that loaded it): they load their pages again together, and only the view whose
// page was chosen last pays from its own budget.
struct PageProcessGroup {
  std::vector<ProcessRecovery*> views;
  guint recovery_source = 0;
};

class ProcessRecovery {
 public:
  // Runs a trivial script in the page and calls its argument when the page answers.
  using Ping = std::function<void(std::function<void()> answered)>;
  // `group`: the views sharing its process; `outage`: the view's notice of a page that did not
  // come, left behind when the page is loaded again.
  ProcessRecovery(WebKitWebView* web, std::shared_ptr<PageProcessGroup> group, Ping ping,
                  OutageRecovery& outage);
  ~ProcessRecovery();
  ProcessRecovery(const ProcessRecovery&) = delete;
  ProcessRecovery& operator=(const ProcessRecovery&) = delete;

  void Chosen(const std::string& address);
  std::shared_ptr<PageProcessGroup> Group() const { return group_; }
  // The notice of a page that kept ending its process stands in for it.
  bool Stalled() const { return stalled_; }

 private:
  static void OnProcessEnded(WebKitWebView*, WebKitWebProcessTerminationReason reason,
                             gpointer self);
  static gboolean OnRecoveryTime(gpointer group);
  static void OnResponsivenessChanged(WebKitWebView* web, GParamSpec*, gpointer);
  static gboolean OnPingTime(gpointer self);

  void Recover(bool blamed);

  WebKitWebView* web_;
  std::shared_ptr<PageProcessGroup> group_;
  Ping ping_;
  OutageRecovery& outage_;
  std::string last_address_;
  std::chrono::steady_clock::time_point chosen_at_{};
  ReloadBudget reloads_;
  ReloadBudget neighbour_reloads_{10};
  bool stalled_ = false;
  guint ping_source_ = 0;
  unsigned pings_ = 0;
  std::optional<std::chrono::steady_clock::time_point> ping_sent_;  // unanswered since
};

}  // namespace talvo
