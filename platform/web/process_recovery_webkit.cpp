#include "platform/web/process_recovery_webkit.h"

#include <algorithm>

#include "core/debug_trace.h"
#include "core/service_address.h"
#include "core/utf.h"

namespace talvo {
namespace {

// How the views tell that their page process hangs: a trivial script every two seconds, and no
// answer after five.
constexpr guint kPingSeconds = 2;
constexpr auto kHangAfter = std::chrono::seconds(5);

}  // namespace

// A reference of its own: the view lets go of the engine's view before this is destroyed.
ProcessRecovery::ProcessRecovery(WebKitWebView* web, std::shared_ptr<PageProcessGroup> group,
                                 Ping ping, OutageRecovery& outage)
    : web_(WEBKIT_WEB_VIEW(g_object_ref(web))),
      group_(std::move(group)),
      ping_(std::move(ping)),
      outage_(outage) {
  group_->views.push_back(this);
  g_signal_connect(web_, "web-process-terminated", G_CALLBACK(&ProcessRecovery::OnProcessEnded),
                   this);
  g_signal_connect(web_, "notify::is-web-process-responsive",
                   G_CALLBACK(&ProcessRecovery::OnResponsivenessChanged), this);
  ping_source_ = g_timeout_add_seconds(kPingSeconds, &ProcessRecovery::OnPingTime, this);
}

ProcessRecovery::~ProcessRecovery() {
  g_source_remove(ping_source_);
  std::erase(group_->views, this);
  if (group_->views.empty() && group_->recovery_source != 0) {
    g_source_remove(group_->recovery_source);
    group_->recovery_source = 0;
  }
  g_signal_handlers_disconnect_by_data(web_, this);
  g_object_unref(web_);
}

void ProcessRecovery::Chosen(const std::string& address) {
  last_address_ = address;
  chosen_at_ = std::chrono::steady_clock::now();
  stalled_ = false;
}

// The page process ended (crashed, killed, over its memory limit, or ended by us because it
// hung): the view loads its page again, within a budget, and then shows a notice instead.
void ProcessRecovery::OnProcessEnded(WebKitWebView*, WebKitWebProcessTerminationReason reason,
                                     gpointer self) {
  DebugTrace("page", reason == WEBKIT_WEB_PROCESS_EXCEEDED_MEMORY_LIMIT
                         ? "the page process went over its memory limit"
                     : reason == WEBKIT_WEB_PROCESS_TERMINATED_BY_API
                         ? "the page process was ended: it hung"
                         : "the page process crashed");
  PageProcessGroup& group = *static_cast<ProcessRecovery*>(self)->group_;
  // Each view is told in its own time, or not at all: one recovery for all of them, once the
  // engine has said what it will.
  if (group.recovery_source == 0) {
    group.recovery_source = g_timeout_add(100, &ProcessRecovery::OnRecoveryTime, &group);
  }
}
gboolean ProcessRecovery::OnRecoveryTime(gpointer data) {
  auto& group = *static_cast<PageProcessGroup*>(data);
  group.recovery_source = 0;
  const auto last_chosen = std::max_element(group.views.begin(), group.views.end(),
                                            [](const ProcessRecovery* a, const ProcessRecovery* b) {
                                              return a->chosen_at_ < b->chosen_at_;
                                            });
  const std::vector<ProcessRecovery*> views = group.views;
  for (ProcessRecovery* view : views) view->Recover(view == *last_chosen);
  return G_SOURCE_REMOVE;
}
// `blamed`: this view's page was chosen last, and is the likeliest to have ended the process;
// the others reload from a budget of their own, large enough for a neighbour's troubles.
void ProcessRecovery::Recover(bool blamed) {
  if (stalled_) {
    webkit_web_view_load_html(web_, kStalledNoticeHtml, nullptr);
    return;
  }
  const gchar* shown = webkit_web_view_get_uri(web_);
  const std::string address =
      shown != nullptr && IsWebAddress(Utf8ToUtf16(shown)) ? std::string(shown) : last_address_;
  if (address.empty()) return;
  if (!(blamed ? reloads_ : neighbour_reloads_).Take(ReloadBudget::Clock::now())) {
    DebugTrace("page", address + ": reloads used up; the notice is shown instead");
    outage_.Leave();
    stalled_ = true;
    webkit_web_view_load_html(web_, kStalledNoticeHtml, nullptr);
    return;
  }
  DebugTrace("page", address + ": loaded again");
  outage_.Reloading();
  webkit_web_view_load_uri(web_, address.c_str());
}
// A page that stops answering (an endless script) holds the process both views share: end it,
// and both views recover as from a crash. The engine says so when it notices; the ping notices
// when nothing else is asked of the page.
void ProcessRecovery::OnResponsivenessChanged(WebKitWebView* web, GParamSpec*, gpointer) {
  if (webkit_web_view_get_is_web_process_responsive(web)) return;
  DebugTrace("page", "the page process stopped answering the engine");
  webkit_web_view_terminate_web_process(web);
}
gboolean ProcessRecovery::OnPingTime(gpointer self) {
  auto* recovery = static_cast<ProcessRecovery*>(self);
  const auto now = std::chrono::steady_clock::now();
  if (recovery->ping_sent_) {
    if (now - *recovery->ping_sent_ >= kHangAfter) {
      DebugTrace("page", "the page process did not answer its ping");
      recovery->ping_sent_.reset();
      webkit_web_view_terminate_web_process(recovery->web_);
    }
    return G_SOURCE_CONTINUE;
  }
  recovery->ping_sent_ = now;
  const unsigned ping = ++recovery->pings_;
  recovery->ping_([recovery, ping] {
    if (ping == recovery->pings_) recovery->ping_sent_.reset();
  });
  return G_SOURCE_CONTINUE;
}

}  // namespace talvo
