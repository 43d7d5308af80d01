#include "platform/web/page_recovery_webkit.h"

#include <algorithm>

#include "core/debug_trace.h"
#include "core/service_address.h"
#include "core/utf.h"
#include "platform/accessible_ui.h"
#include "platform/web/load_trouble_webkit.h"

namespace talvo {
namespace {

// How the views tell that their page process hangs: a trivial script every two seconds, and no
// answer after five.
constexpr guint kPingSeconds = 2;
constexpr auto kHangAfter = std::chrono::seconds(5);

}  // namespace

// A reference of its own: the view lets go of the engine's view before this is destroyed.
PageRecovery::PageRecovery(WebKitWebView* web, wxWindow* window,
                           std::shared_ptr<PageProcessGroup> group, Ping ping)
    : web_(WEBKIT_WEB_VIEW(g_object_ref(web))),
      window_(window),
      group_(std::move(group)),
      ping_(std::move(ping)),
      on_network_return_([this] { TryAgain(); }),
      host_probe_([this](bool answered) {
        if (!retry_.HostChecked(answered)) return;
        DebugTrace("page", outage_address_ + ": its host answers again");
        TryAgain();
      }) {
  group_->views.push_back(this);
  g_signal_connect(web_, "load-changed", G_CALLBACK(&PageRecovery::OnLoadChanged), this);
  g_signal_connect(web_, "load-failed", G_CALLBACK(&PageRecovery::OnLoadFailed), this);
  g_signal_connect(web_, "web-process-terminated", G_CALLBACK(&PageRecovery::OnProcessEnded), this);
  g_signal_connect(web_, "notify::is-web-process-responsive",
                   G_CALLBACK(&PageRecovery::OnResponsivenessChanged), this);
  ping_source_ = g_timeout_add_seconds(kPingSeconds, &PageRecovery::OnPingTime, this);
}

PageRecovery::~PageRecovery() {
  g_source_remove(ping_source_);
  StopRetryTimer();
  StopAnswerTimer();
  std::erase(group_->views, this);
  if (group_->views.empty() && group_->recovery_source != 0) {
    g_source_remove(group_->recovery_source);
    group_->recovery_source = 0;
  }
  g_signal_handlers_disconnect_by_data(web_, this);
  g_object_unref(web_);
}

void PageRecovery::Chosen(const std::string& address) {
  last_address_ = address;
  chosen_at_ = std::chrono::steady_clock::now();
  stalled_ = false;
  LeaveOutage();
}

void PageRecovery::OnLoadChanged(WebKitWebView* web, WebKitLoadEvent event, gpointer data) {
  auto* self = static_cast<PageRecovery*>(data);
  const gchar* uri = webkit_web_view_get_uri(web);
  const std::string_view address = uri != nullptr ? uri : "";
  const bool web_address = IsWebAddress(Utf8ToUtf16(address));
  if (event == WEBKIT_LOAD_STARTED && address != self->outage_address_) {
    self->LeaveOutage();  // the page went somewhere else: a link, a script, a bulletin
  } else if (event == WEBKIT_LOAD_COMMITTED) {
    if (self->notice_loading_) {
      self->notice_loading_ = false;
    } else if (web_address) {
      // A page arrived: nothing more to retry, and whoever waits for the network may try.
      self->LeaveOutage();
      ReportServiceAnswered();
    }
  }
  if (event == WEBKIT_LOAD_STARTED && !self->notice_loading_ && web_address) {
    self->AwaitAnswer(std::string(address));
  } else if (event != WEBKIT_LOAD_REDIRECTED) {
    self->StopAnswerTimer();  // the document began to arrive, or it is a notice of ours
  }
}

void PageRecovery::AwaitAnswer(std::string address) {
  StopAnswerTimer();
  answer_address_ = std::move(address);
  answer_source_ = g_timeout_add_seconds(static_cast<guint>(kAnswerBound.count()),
                                         &PageRecovery::OnAnswerTime, this);
}

// The notice replaces the load, which the engine then reports as cancelled.
gboolean PageRecovery::OnAnswerTime(gpointer data) {
  auto* self = static_cast<PageRecovery*>(data);
  self->answer_source_ = 0;
  DebugTrace("page", self->answer_address_ + ": no answer in " +
                         std::to_string(kAnswerBound.count()) + " s; the notice is shown");
  self->ShowOutage(LoadTrouble::kNoAnswer, self->answer_address_);
  return G_SOURCE_REMOVE;
}

void PageRecovery::StopAnswerTimer() {
  if (answer_source_ != 0) g_source_remove(answer_source_);
  answer_source_ = 0;
}

// The engine's own error page is English and a dead end: the view shows a notice of ours
// instead, and tries the page again until it comes.
gboolean PageRecovery::OnLoadFailed(WebKitWebView*, WebKitLoadEvent, gchar* uri, GError* error,
                                    gpointer self) {
  static_cast<PageRecovery*>(self)->StopAnswerTimer();
  const std::optional<LoadTrouble> trouble = TroubleOf(error);
  if (!trouble || uri == nullptr) return FALSE;
  DebugTrace("page", std::string(uri) + ": " + error->message + "; the notice is shown");
  static_cast<PageRecovery*>(self)->ShowOutage(*trouble, uri);
  return TRUE;
}

void PageRecovery::ShowOutage(LoadTrouble trouble, const std::string& address) {
  if (address != outage_address_) {
    LeaveOutage();
    outage_address_ = address;
    AnnounceToReaders(window_, Utf8ToUtf16(OutageAnnouncement(trouble)));
  }
  WatchTheDesktopNetwork();
  host_probe_.Watch(address);
  const std::chrono::seconds wait = retry_.Failed(trouble);
  StopRetryTimer();
  retry_source_ =
      g_timeout_add_seconds(static_cast<guint>(wait.count()), &PageRecovery::OnRetryTime, this);
  notice_loading_ = true;
  webkit_web_view_load_alternate_html(web_, OutageNoticeHtml(trouble, address).c_str(),
                                      address.c_str(), nullptr);
}

gboolean PageRecovery::OnRetryTime(gpointer self) {
  static_cast<PageRecovery*>(self)->retry_source_ = 0;
  static_cast<PageRecovery*>(self)->TryAgain();
  return G_SOURCE_REMOVE;
}

// The backoff is up or the network is back: the page the notice stands for is loaded again,
// unless the view has moved on since.
void PageRecovery::TryAgain() {
  if (!retry_.TryNow()) return;
  StopRetryTimer();
  DebugTrace("page", outage_address_ + ": tried again");
  notice_loading_ = false;
  webkit_web_view_load_uri(web_, outage_address_.c_str());
}

void PageRecovery::LeaveOutage() {
  retry_.Ended();
  outage_address_.clear();
  notice_loading_ = false;
  StopRetryTimer();
  host_probe_.Stop();
}

void PageRecovery::StopRetryTimer() {
  if (retry_source_ != 0) g_source_remove(retry_source_);
  retry_source_ = 0;
}

// The page process ended (crashed, killed, over its memory limit, or ended by us because it
// hung): the view loads its page again, within a budget, and then shows a notice instead.
void PageRecovery::OnProcessEnded(WebKitWebView*, WebKitWebProcessTerminationReason reason,
                                  gpointer self) {
  DebugTrace("page", reason == WEBKIT_WEB_PROCESS_EXCEEDED_MEMORY_LIMIT
                         ? "the page process went over its memory limit"
                     : reason == WEBKIT_WEB_PROCESS_TERMINATED_BY_API
                         ? "the page process was ended: it hung"
                         : "the page process crashed");
  PageProcessGroup& group = *static_cast<PageRecovery*>(self)->group_;
  // Each view is told in its own time, or not at all: one recovery for all of them, once the
  // engine has said what it will.
  if (group.recovery_source == 0) {
    group.recovery_source = g_timeout_add(100, &PageRecovery::OnRecoveryTime, &group);
  }
}

gboolean PageRecovery::OnRecoveryTime(gpointer data) {
  auto& group = *static_cast<PageProcessGroup*>(data);
  group.recovery_source = 0;
  const auto last_chosen = std::max_element(
      group.views.begin(), group.views.end(),
      [](const PageRecovery* a, const PageRecovery* b) { return a->chosen_at_ < b->chosen_at_; });
  const std::vector<PageRecovery*> views = group.views;
  for (PageRecovery* view : views) view->Recover(view == *last_chosen);
  return G_SOURCE_REMOVE;
}

// `blamed`: this view's page was chosen last, and is the likeliest to have ended the process;
// the others reload from a budget of their own, large enough for a neighbour's troubles.
void PageRecovery::Recover(bool blamed) {
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
    LeaveOutage();
    stalled_ = true;
    webkit_web_view_load_html(web_, kStalledNoticeHtml, nullptr);
    return;
  }
  DebugTrace("page", address + ": loaded again");
  notice_loading_ = false;
  webkit_web_view_load_uri(web_, address.c_str());
}

// A page that stops answering (an endless script) holds the process both views share: end it,
// and both views recover as from a crash. The engine says so when it notices; the ping notices
// when nothing else is asked of the page.
void PageRecovery::OnResponsivenessChanged(WebKitWebView* web, GParamSpec*, gpointer) {
  if (webkit_web_view_get_is_web_process_responsive(web)) return;
  DebugTrace("page", "the page process stopped answering the engine");
  webkit_web_view_terminate_web_process(web);
}

gboolean PageRecovery::OnPingTime(gpointer self) {
  auto* recovery = static_cast<PageRecovery*>(self);
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
