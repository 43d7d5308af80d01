#include "platform/web/outage_recovery_webkit.h"

#include "core/debug_trace.h"
#include "core/service_address.h"
#include "core/utf.h"
#include "platform/accessible_ui.h"
#include "platform/web/load_trouble_webkit.h"

namespace talvo {

// A reference of its own: the view lets go of the engine's view before this is destroyed.
OutageRecovery::OutageRecovery(WebKitWebView* web, wxWindow* window)
    : web_(WEBKIT_WEB_VIEW(g_object_ref(web))),
      window_(window),
      on_network_return_([this] { TryAgain(); }),
      host_probe_([this](bool answered) {
        if (!retry_.HostChecked(answered)) return;
        DebugTrace("page", outage_address_ + ": its host answers again");
        TryAgain();
      }) {
  g_signal_connect(web_, "load-changed", G_CALLBACK(&OutageRecovery::OnLoadChanged), this);
  g_signal_connect(web_, "load-failed", G_CALLBACK(&OutageRecovery::OnLoadFailed), this);
}

OutageRecovery::~OutageRecovery() {
  StopRetryTimer();
  StopAnswerTimer();
  g_signal_handlers_disconnect_by_data(web_, this);
  g_object_unref(web_);
}

void OutageRecovery::OnLoadChanged(WebKitWebView* web, WebKitLoadEvent event, gpointer data) {
  auto* self = static_cast<OutageRecovery*>(data);
  const gchar* uri = webkit_web_view_get_uri(web);
  const std::string_view address = uri != nullptr ? uri : "";
  const bool web_address = IsWebAddress(Utf8ToUtf16(address));
  if (event == WEBKIT_LOAD_STARTED && address != self->outage_address_) {
    self->Leave();  // the page went somewhere else: a link, a script, a bulletin
  } else if (event == WEBKIT_LOAD_COMMITTED) {
    if (self->notice_loading_) {
      self->notice_loading_ = false;
    } else if (web_address) {
      // A page arrived: nothing more to retry, and whoever waits for the network may try.
      self->Leave();
      ReportServiceAnswered();
    }
  }
  if (event == WEBKIT_LOAD_STARTED && !self->notice_loading_ && web_address) {
    self->AwaitAnswer(std::string(address));
  } else if (event != WEBKIT_LOAD_REDIRECTED) {
    self->StopAnswerTimer();  // the document began to arrive, or it is a notice of ours
  }
}
void OutageRecovery::AwaitAnswer(std::string address) {
  StopAnswerTimer();
  answer_address_ = std::move(address);
  answer_source_ = g_timeout_add_seconds(static_cast<guint>(kAnswerBound.count()),
                                         &OutageRecovery::OnAnswerTime, this);
}
// The notice replaces the load, which the engine then reports as cancelled.
gboolean OutageRecovery::OnAnswerTime(gpointer data) {
  auto* self = static_cast<OutageRecovery*>(data);
  self->answer_source_ = 0;
  DebugTrace("page", self->answer_address_ + ": no answer in " +
                         std::to_string(kAnswerBound.count()) + " s; the notice is shown");
  self->ShowOutage(LoadTrouble::kNoAnswer, self->answer_address_);
  return G_SOURCE_REMOVE;
}
void OutageRecovery::StopAnswerTimer() {
  if (answer_source_ != 0) g_source_remove(answer_source_);
  answer_source_ = 0;
}
// The engine's own error page is English and a dead end: the view shows a notice of ours
// instead, and tries the page again until it comes.
gboolean OutageRecovery::OnLoadFailed(WebKitWebView*, WebKitLoadEvent, gchar* uri, GError* error,
                                      gpointer self) {
  static_cast<OutageRecovery*>(self)->StopAnswerTimer();
  const std::optional<LoadTrouble> trouble = TroubleOf(error);
  if (!trouble || uri == nullptr) return FALSE;
  DebugTrace("page", std::string(uri) + ": " + error->message + "; the notice is shown");
  static_cast<OutageRecovery*>(self)->ShowOutage(*trouble, uri);
  return TRUE;
}
void OutageRecovery::ShowOutage(LoadTrouble trouble, const std::string& address) {
  if (address != outage_address_) {
    Leave();
    outage_address_ = address;
    AnnounceToReaders(window_, Utf8ToUtf16(OutageAnnouncement(trouble)));
  }
  WatchTheDesktopNetwork();
  host_probe_.Watch(address);
  const std::chrono::seconds wait = retry_.Failed(trouble);
  StopRetryTimer();
  retry_source_ =
      g_timeout_add_seconds(static_cast<guint>(wait.count()), &OutageRecovery::OnRetryTime, this);
  notice_loading_ = true;
  webkit_web_view_load_alternate_html(web_, OutageNoticeHtml(trouble, address).c_str(),
                                      address.c_str(), nullptr);
}
gboolean OutageRecovery::OnRetryTime(gpointer self) {
  static_cast<OutageRecovery*>(self)->retry_source_ = 0;
  static_cast<OutageRecovery*>(self)->TryAgain();
  return G_SOURCE_REMOVE;
}
// The backoff is up or the network is back: the page the notice stands for is loaded again,
// unless the view has moved on since.
void OutageRecovery::TryAgain() {
  if (!retry_.TryNow()) return;
  StopRetryTimer();
  DebugTrace("page", outage_address_ + ": tried again");
  notice_loading_ = false;
  webkit_web_view_load_uri(web_, outage_address_.c_str());
}
void OutageRecovery::Leave() {
  retry_.Ended();
  outage_address_.clear();
  notice_loading_ = false;
  StopRetryTimer();
  host_probe_.Stop();
}
void OutageRecovery::StopRetryTimer() {
  if (retry_source_ != 0) g_source_remove(retry_source_);
  retry_source_ = 0;
}

}  // namespace talvo
