#include "platform/web/webview_browser.h"

#include <wx/nativewin.h>

#include <webkit2/webkit2.h>

#include <stdlib.h>

#include <algorithm>
#include <chrono>
#include <memory>
#include <optional>
#include <string_view>
#include <vector>

#include "core/debug_trace.h"
#include "core/service_address.h"
#include "platform/accessible_ui.h"
#include "platform/fetch_wait.h"
#include "platform/network_return.h"
#include "platform/web/host_probe_gio.h"
#include "platform/web/page_memory.h"
#include "platform/web/page_outage.h"
#include "platform/web/page_safety.h"
#include "platform/web/rendering_path_probe.h"
#include "platform/wx_text.h"

namespace talvo {
namespace {

constexpr const char* kBodyTextScript = "document.body ? document.body.innerText : ''";

// Where the view's object is found from the engine's view, for what the engine reports on the
// page process's context rather than on a view.
constexpr const char* kBrowserKey = "talvo-browser";

// How the views tell that their page process hangs: a trivial script every two seconds, and no
// answer after five.
constexpr guint kPingSeconds = 2;
constexpr auto kHangAfter = std::chrono::seconds(5);
// How long BodyText waits for the page's answer: past the hang bound, by when a page process
// that stopped answering has been ended.
constexpr auto kBodyTextBound = std::chrono::seconds(8);

// The desktop's Next and Previous media controls reach a page as the Media Session actions
// "nexttrack" and "previoustrack"; in a TV client they mean the next and previous channel. The
// script and its message channel live in a world of their own, out of the page scripts' reach,
// so a page cannot switch channels by posting to it. A page that sets its own handlers keeps
// them.
constexpr const char* kOwnWorld = "talvo";
constexpr const char* kMediaChannel = "talvoMedia";
constexpr const char* kMediaStepScript =
    "if (navigator.mediaSession) {"
    "  for (const [action, step] of [['nexttrack', 'next'], ['previoustrack', 'previous']]) {"
    "    navigator.mediaSession.setActionHandler(action,"
    "        () => window.webkit.messageHandlers.talvoMedia.postMessage(step));"
    "  }"
    "}";

// What the page's keyboard focus is in, told through the same channel: keys that mean something
// to the client stay the page's while the viewer types into one of its fields.
constexpr const char* kTypingScript =
    "(() => {"
    "  const plain = ['button', 'checkbox', 'radio', 'range', 'submit', 'reset', 'image', 'file',"
    "                 'color'];"
    "  const report = () => {"
    "    const e = document.activeElement;"
    "    const typing = !!e && (e.isContentEditable || e.tagName === 'TEXTAREA' ||"
    "        e.tagName === 'SELECT' || (e.tagName === 'INPUT' && !plain.includes(e.type)));"
    "    window.webkit.messageHandlers.talvoMedia.postMessage(typing ? 'typing' : 'not-typing');"
    "  };"
    "  document.addEventListener('focusin', report, true);"
    "  document.addEventListener('focusout', () => setTimeout(report, 0), true);"
    "})();";

// The players' volume, kept in the client's own world: the page's scripts neither see nor
// change the setting, and its players are set to it as each starts a load or plays. Players
// outside the document (an Audio() never added to it) are beyond reach.
std::string VolumeScript(int percent) {
  return "window.talvoVolume = " + std::to_string(std::clamp(percent, 0, 100) / 100.0) +
         ";"
         "if (!window.talvoVolumeKept) {"
         "  window.talvoVolumeKept = true;"
         "  const keep = (e) => {"
         "    if (e.target instanceof HTMLMediaElement) e.target.volume = window.talvoVolume;"
         "  };"
         "  document.addEventListener('loadstart', keep, true);"
         "  document.addEventListener('play', keep, true);"
         "}"
         "document.querySelectorAll('video, audio').forEach("
         "    (m) => { m.volume = window.talvoVolume; });";
}

// Shown instead of a page that keeps ending its page process.
constexpr const char* kStalledNotice =
    "<html><body style='margin:0;background:#000;color:#ccc;font:16px sans-serif;"
    "text-align:center;padding-top:15%'>此页面反复停止运行，已不再自动重新载入。<br>"
    "请稍后再次点选频道或电台。</body></html>";

// Why a page failed to load, when the view should say so: nothing for a load that was replaced by
// another, refused as a download, or ended by a decision of the client's own.
std::optional<LoadTrouble> TroubleOf(const GError* error) {
  if (error->domain == WEBKIT_NETWORK_ERROR) {
    if (error->code == WEBKIT_NETWORK_ERROR_CANCELLED ||
        error->code == WEBKIT_NETWORK_ERROR_UNKNOWN_PROTOCOL ||
        error->code == WEBKIT_NETWORK_ERROR_FILE_DOES_NOT_EXIST) {
      return std::nullopt;
    }
    return LoadTrouble::kOther;
  }
  if (error->domain == WEBKIT_POLICY_ERROR || error->domain == WEBKIT_PLUGIN_ERROR ||
      error->domain == WEBKIT_DOWNLOAD_ERROR) {
    return std::nullopt;
  }
  if (error->domain == G_TLS_ERROR) return LoadTrouble::kSecure;
  if (error->domain == G_RESOLVER_ERROR) return LoadTrouble::kHostNotFound;
  if (error->domain == SOUP_HTTP_ERROR) {
    switch (error->code) {
      case SOUP_STATUS_CANT_RESOLVE:
      case SOUP_STATUS_CANT_RESOLVE_PROXY:
        return LoadTrouble::kHostNotFound;
      case SOUP_STATUS_CANT_CONNECT:
      case SOUP_STATUS_CANT_CONNECT_PROXY:
        return LoadTrouble::kRefused;
      case SOUP_STATUS_SSL_FAILED:
      case SOUP_STATUS_TLS_FAILED:
        return LoadTrouble::kSecure;
      case SOUP_STATUS_IO_ERROR:
        return LoadTrouble::kReset;
      default:
        return LoadTrouble::kOther;
    }
  }
  if (error->domain == G_IO_ERROR) {
    switch (error->code) {
      case G_IO_ERROR_CANCELLED:
        return std::nullopt;
      case G_IO_ERROR_CONNECTION_REFUSED:
      case G_IO_ERROR_PROXY_FAILED:
        return LoadTrouble::kRefused;
      case G_IO_ERROR_TIMED_OUT:
        return LoadTrouble::kTimedOut;
      case G_IO_ERROR_HOST_NOT_FOUND:
        return LoadTrouble::kHostNotFound;
      case G_IO_ERROR_NETWORK_UNREACHABLE:
      case G_IO_ERROR_HOST_UNREACHABLE:
        return LoadTrouble::kNoRoute;
      case G_IO_ERROR_CONNECTION_CLOSED:
      case G_IO_ERROR_NOT_CONNECTED:
        return LoadTrouble::kReset;
      default:
        return LoadTrouble::kOther;
    }
  }
  return LoadTrouble::kOther;
}

class WebKitBrowser;

// The views that share one page process. When it ends, every one of them has lost its page,
// whether or not the engine tells each of them (after a redirect to a local file, WebKitGTK 2.50
// told only the view that loaded it): they load their pages again together, and only the view whose
// page was chosen last pays from its own budget.
struct PageProcessGroup {
  std::vector<WebKitBrowser*> views;
  guint recovery_source = 0;
};

// What a script's answer finds when it arrives: the view may be gone by then.
struct ScriptReply {
  bool view_gone = false;
  bool answered = false;
  std::function<void(std::u16string)> done;
};

// The view is made here rather than by wxWebView: its autoplay policy can only be given when it
// is constructed, and a set-top box plays the chosen channel with sound without a click.
class WebKitBrowser final : public BrowserView {
 public:
  // A reference of its own: the frame may destroy the view's window first, and the view must
  // outlive the disconnects of this destructor.
  WebKitBrowser(wxNativeWindow* window, WebKitWebView* web, std::shared_ptr<PageProcessGroup> group)
      : BrowserView(window),
        web_(WEBKIT_WEB_VIEW(g_object_ref(web))),
        group_(std::move(group)),
        on_network_return_([this] { TryAgain(); }),
        host_probe_([this](bool answered) {
          if (!retry_.HostChecked(answered)) return;
          DebugTrace("page", outage_address_ + ": its host answers again");
          TryAgain();
        }) {
    group_->views.push_back(this);
    g_signal_connect(web_, "load-changed", G_CALLBACK(&WebKitBrowser::OnLoadChanged), this);
    g_signal_connect(web_, "load-failed", G_CALLBACK(&WebKitBrowser::OnLoadFailed), this);
    g_signal_connect(web_, "create", G_CALLBACK(&WebKitBrowser::OnCreate), this);
    g_signal_connect(web_, "script-dialog", G_CALLBACK(&WebKitBrowser::OnScriptDialog), this);
    g_signal_connect(web_, "permission-request", G_CALLBACK(&WebKitBrowser::OnPermission), this);
    g_signal_connect(web_, "authenticate", G_CALLBACK(&WebKitBrowser::OnAuthenticate), this);
    g_signal_connect(web_, "print", G_CALLBACK(&WebKitBrowser::OnPrint), this);
    g_signal_connect(web_, "enter-fullscreen", G_CALLBACK(&WebKitBrowser::OnEnterFullscreen), this);
    g_signal_connect(web_, "leave-fullscreen", G_CALLBACK(&WebKitBrowser::OnLeaveFullscreen), this);
    g_signal_connect(web_, "decide-policy", G_CALLBACK(&WebKitBrowser::OnDecidePolicy), this);
    g_signal_connect(web_, "web-process-terminated", G_CALLBACK(&WebKitBrowser::OnProcessEnded),
                     this);
    g_signal_connect(web_, "notify::is-web-process-responsive",
                     G_CALLBACK(&WebKitBrowser::OnResponsivenessChanged), this);
    g_object_set_data(G_OBJECT(web_), kBrowserKey, this);
    ping_source_ = g_timeout_add_seconds(kPingSeconds, &WebKitBrowser::OnPingTime, this);
    ListenToMediaControls();
  }

  ~WebKitBrowser() override {
    g_source_remove(ping_source_);
    StopRetryTimer();
    StopAnswerTimer();
    std::erase(group_->views, this);
    if (group_->views.empty() && group_->recovery_source != 0) {
      g_source_remove(group_->recovery_source);
      group_->recovery_source = 0;
    }
    for (const auto& reply : pending_) reply->view_gone = true;
    g_object_set_data(G_OBJECT(web_), kBrowserKey, nullptr);
    g_signal_handlers_disconnect_by_data(web_, this);
    if (WebKitUserContentManager* content = webkit_web_view_get_user_content_manager(web_)) {
      g_signal_handlers_disconnect_by_data(content, this);
    }
    if (volume_script_ != nullptr) webkit_user_script_unref(volume_script_);
    g_object_unref(web_);
  }

  // A new choice: whatever was being retried or given up on is left behind.
  void Navigate(const std::u16string& address) override {
    last_address_ = Utf16ToUtf8(address);
    chosen_at_ = std::chrono::steady_clock::now();
    stalled_ = false;
    LeaveOutage();
    webkit_web_view_load_uri(web_, last_address_.c_str());
  }

  std::shared_ptr<PageProcessGroup> Group() const { return group_; }

  // The page of the view, or nothing: what the engine reports on its context names the view.
  static WebKitBrowser* Of(WebKitWebView* web) {
    return web != nullptr
               ? static_cast<WebKitBrowser*>(g_object_get_data(G_OBJECT(web), kBrowserKey))
               : nullptr;
  }
  bool LastNavigationClicked() const { return last_navigation_clicked_; }

  void SetSilent(bool silent) override { silent_ = silent; }
  WebKitWebView* Web() const { return web_; }

  void SetSound(bool muted, int volume_percent) override {
    webkit_web_view_set_is_muted(web_, muted ? TRUE : FALSE);
    WebKitUserContentManager* content = webkit_web_view_get_user_content_manager(web_);
    if (volume_script_ != nullptr) {
      webkit_user_content_manager_remove_script(content, volume_script_);
      webkit_user_script_unref(volume_script_);
    }
    const std::string script = VolumeScript(volume_percent);
    volume_script_ = webkit_user_script_new_for_world(
        script.c_str(), WEBKIT_USER_CONTENT_INJECT_ALL_FRAMES,
        WEBKIT_USER_SCRIPT_INJECT_AT_DOCUMENT_START, kOwnWorld, nullptr, nullptr);
    webkit_user_content_manager_add_script(content, volume_script_);
    webkit_web_view_evaluate_javascript(web_, script.c_str(), -1, kOwnWorld, nullptr, nullptr,
                                        nullptr, nullptr);
  }

  bool TypingInPage() const override { return typing_; }

  void SetProxy(const std::string& proxy) override {
    WebKitWebsiteDataManager* data =
        webkit_web_context_get_website_data_manager(webkit_web_view_get_context(web_));
    if (proxy == "system" || proxy.empty()) {
      webkit_website_data_manager_set_network_proxy_settings(
          data, WEBKIT_NETWORK_PROXY_MODE_DEFAULT, nullptr);
    } else if (proxy == "none") {
      webkit_website_data_manager_set_network_proxy_settings(
          data, WEBKIT_NETWORK_PROXY_MODE_NO_PROXY, nullptr);
    } else {
      WebKitNetworkProxySettings* settings =
          webkit_network_proxy_settings_new(proxy.c_str(), nullptr);
      webkit_website_data_manager_set_network_proxy_settings(data, WEBKIT_NETWORK_PROXY_MODE_CUSTOM,
                                                             settings);
      webkit_network_proxy_settings_free(settings);
    }
  }

  void ExitPageFullscreen() override {
    webkit_web_view_evaluate_javascript(
        web_, "if (document.fullscreenElement) document.exitFullscreen();", -1, nullptr, nullptr,
        nullptr, nullptr, nullptr);
  }

  // Bounded: a page process that hangs answers no script until it is ended, and the view may go
  // while the loop runs (its answer never comes then); either gives the empty text.
  std::u16string BodyText() override {
    auto text = std::make_shared<std::optional<std::u16string>>();
    ReadBodyText([text](std::u16string result) { *text = std::move(result); });
    const std::weak_ptr<const bool> view = alive_;
    const auto until = std::chrono::steady_clock::now() + kBodyTextBound;
    LoopForWaiting loop;
    while (!*text && !view.expired() && std::chrono::steady_clock::now() < until) {
      loop->DispatchTimeout(100);
    }
    return text->value_or(std::u16string());
  }

  void ReadBodyText(std::function<void(std::u16string)> done) override {
    ReadScript(kBodyTextScript, std::move(done));
  }

  // Runs `script` in the page; `done` gets its answer as text (empty when it is none), unless
  // the view is gone first.
  void ReadScript(const char* script, std::function<void(std::u16string)> done) {
    std::erase_if(pending_, [](const auto& reply) { return reply->answered; });
    auto reply = std::make_shared<ScriptReply>();
    reply->done = std::move(done);
    pending_.push_back(reply);
    webkit_web_view_evaluate_javascript(web_, script, -1, nullptr, nullptr, nullptr,
                                        &WebKitBrowser::OnScriptFinished,
                                        new std::shared_ptr<ScriptReply>(reply));
  }

 private:
  static void OnScriptFinished(GObject* source, GAsyncResult* result, gpointer data) {
    const std::unique_ptr<std::shared_ptr<ScriptReply>> holder(
        static_cast<std::shared_ptr<ScriptReply>*>(data));
    ScriptReply& reply = **holder;
    GError* error = nullptr;
    JSCValue* value =
        webkit_web_view_evaluate_javascript_finish(WEBKIT_WEB_VIEW(source), result, &error);
    // A page without a body, or a script that failed, has no text.
    std::u16string text;
    if (value != nullptr) {
      if (jsc_value_is_string(value)) {
        gchar* utf8 = jsc_value_to_string(value);
        text = Utf8ToUtf16(utf8);
        g_free(utf8);
      }
      g_object_unref(value);
    }
    if (error != nullptr) g_error_free(error);
    if (reply.view_gone) return;
    reply.answered = true;
    const std::function<void(std::u16string)> done = std::move(reply.done);
    done(std::move(text));
  }

  static void OnLoadChanged(WebKitWebView* web, WebKitLoadEvent event, gpointer data) {
    auto* self = static_cast<WebKitBrowser*>(data);
    const gchar* uri = webkit_web_view_get_uri(web);
    const std::string_view address = uri != nullptr ? uri : "";
    if (event == WEBKIT_LOAD_STARTED && address != self->outage_address_) {
      self->LeaveOutage();  // the page went somewhere else: a link, a script, a bulletin
    } else if (event == WEBKIT_LOAD_COMMITTED) {
      self->typing_ = false;  // the new document has no focus in a field yet
      if (self->notice_loading_) {
        self->notice_loading_ = false;
      } else if (IsWebAddress(Utf8ToUtf16(address))) {
        // A page arrived: nothing more to retry, and whoever waits for the network may try.
        self->LeaveOutage();
        ReportServiceAnswered();
      }
    } else if (event == WEBKIT_LOAD_FINISHED) {
      self->NotifyLoadCompleted();
    }
    if (event == WEBKIT_LOAD_STARTED && !self->notice_loading_ &&
        IsWebAddress(Utf8ToUtf16(address))) {
      self->AwaitAnswer(std::string(address));
    } else if (event != WEBKIT_LOAD_REDIRECTED) {
      self->StopAnswerTimer();  // the document began to arrive, or it is a notice of ours
    }
  }

  void AwaitAnswer(std::string address) {
    StopAnswerTimer();
    answer_address_ = std::move(address);
    answer_source_ = g_timeout_add_seconds(static_cast<guint>(kAnswerBound.count()),
                                           &WebKitBrowser::OnAnswerTime, this);
  }

  // The notice replaces the load, which the engine then reports as cancelled.
  static gboolean OnAnswerTime(gpointer data) {
    auto* self = static_cast<WebKitBrowser*>(data);
    self->answer_source_ = 0;
    DebugTrace("page", self->answer_address_ + ": no answer in " +
                           std::to_string(kAnswerBound.count()) + " s; the notice is shown");
    self->ShowOutage(LoadTrouble::kNoAnswer, self->answer_address_);
    return G_SOURCE_REMOVE;
  }

  void StopAnswerTimer() {
    if (answer_source_ != 0) g_source_remove(answer_source_);
    answer_source_ = 0;
  }

  // The engine's own error page is English and a dead end: the view shows a notice of ours
  // instead, and tries the page again until it comes.
  static gboolean OnLoadFailed(WebKitWebView*, WebKitLoadEvent, gchar* uri, GError* error,
                               gpointer self) {
    static_cast<WebKitBrowser*>(self)->StopAnswerTimer();
    const std::optional<LoadTrouble> trouble = TroubleOf(error);
    if (!trouble || uri == nullptr) return FALSE;
    DebugTrace("page", std::string(uri) + ": " + error->message + "; the notice is shown");
    static_cast<WebKitBrowser*>(self)->ShowOutage(*trouble, uri);
    return TRUE;
  }

  void ShowOutage(LoadTrouble trouble, const std::string& address) {
    if (address != outage_address_) {
      LeaveOutage();
      outage_address_ = address;
      AnnounceToReaders(
          Window(), Utf8ToUtf16(std::string(OutageHeadline(trouble))) + u"，恢复后将自动重新载入");
    }
    WatchTheDesktopNetwork();
    host_probe_.Watch(address);
    const std::chrono::seconds wait = retry_.Failed(trouble);
    StopRetryTimer();
    retry_source_ =
        g_timeout_add_seconds(static_cast<guint>(wait.count()), &WebKitBrowser::OnRetryTime, this);
    notice_loading_ = true;
    webkit_web_view_load_alternate_html(web_, OutageNoticeHtml(trouble, address).c_str(),
                                        address.c_str(), nullptr);
  }

  static gboolean OnRetryTime(gpointer self) {
    static_cast<WebKitBrowser*>(self)->retry_source_ = 0;
    static_cast<WebKitBrowser*>(self)->TryAgain();
    return G_SOURCE_REMOVE;
  }

  // The backoff is up or the network is back: the page the notice stands for is loaded again,
  // unless the view has moved on since.
  void TryAgain() {
    if (!retry_.TryNow()) return;
    StopRetryTimer();
    DebugTrace("page", outage_address_ + ": tried again");
    notice_loading_ = false;
    webkit_web_view_load_uri(web_, outage_address_.c_str());
  }

  void LeaveOutage() {
    retry_.Ended();
    outage_address_.clear();
    notice_loading_ = false;
    StopRetryTimer();
    host_probe_.Stop();
  }

  void StopRetryTimer() {
    if (retry_source_ != 0) g_source_remove(retry_source_);
    retry_source_ = 0;
  }

  // Pages that open windows get them in this view instead.
  static GtkWidget* OnCreate(WebKitWebView* web, WebKitNavigationAction* action, gpointer) {
    WebKitURIRequest* request = webkit_navigation_action_get_request(action);
    const gchar* uri = request != nullptr ? webkit_uri_request_get_uri(request) : nullptr;
    if (uri != nullptr && IsWebAddress(Utf8ToUtf16(uri))) webkit_web_view_load_uri(web, uri);
    return nullptr;
  }

  // Answered without a word. "Leave this page?" is answered yes: a page must never keep the
  // client or the user from loading another one.
  static gboolean OnScriptDialog(WebKitWebView*, WebKitScriptDialog* dialog, gpointer self) {
    if (!static_cast<WebKitBrowser*>(self)->silent_) return FALSE;
    if (webkit_script_dialog_get_dialog_type(dialog) ==
        WEBKIT_SCRIPT_DIALOG_BEFORE_UNLOAD_CONFIRM) {
      webkit_script_dialog_confirm_set_confirmed(dialog, TRUE);
    }
    return TRUE;
  }

  static gboolean OnPermission(WebKitWebView*, WebKitPermissionRequest* request, gpointer self) {
    if (!static_cast<WebKitBrowser*>(self)->silent_) return FALSE;
    webkit_permission_request_deny(request);
    return TRUE;
  }

  // A page behind a password shows what the server sends with its refusal, not a login form.
  static gboolean OnAuthenticate(WebKitWebView*, WebKitAuthenticationRequest* request,
                                 gpointer self) {
    if (!static_cast<WebKitBrowser*>(self)->silent_) return FALSE;
    webkit_authentication_request_authenticate(request, nullptr);
    return TRUE;
  }

  // window.print() opens no print dialog over the picture.
  static gboolean OnPrint(WebKitWebView*, WebKitPrintOperation*, gpointer self) {
    return static_cast<WebKitBrowser*>(self)->silent_ ? TRUE : FALSE;
  }

  // Whether the latest navigation came from a click in the page: only then may its reply become
  // a download.
  static gboolean OnDecidePolicy(WebKitWebView*, WebKitPolicyDecision* decision,
                                 WebKitPolicyDecisionType type, gpointer self) {
    if (type == WEBKIT_POLICY_DECISION_TYPE_NAVIGATION_ACTION ||
        type == WEBKIT_POLICY_DECISION_TYPE_NEW_WINDOW_ACTION) {
      WebKitNavigationAction* action = webkit_navigation_policy_decision_get_navigation_action(
          WEBKIT_NAVIGATION_POLICY_DECISION(decision));
      static_cast<WebKitBrowser*>(self)->last_navigation_clicked_ =
          webkit_navigation_action_is_user_gesture(action);
      return FALSE;
    }
    if (type != WEBKIT_POLICY_DECISION_TYPE_RESPONSE) return FALSE;
    // The engine's own reading of a name with a folder in it ("../x") frees memory it does not
    // own and ends the process that reads it (WebKitGTK 2.50.6), so such a name never reaches the
    // engine: the header is read here, and the reply refused before it can turn into a download.
    WebKitURIResponse* response =
        webkit_response_policy_decision_get_response(WEBKIT_RESPONSE_POLICY_DECISION(decision));
    SoupMessageHeaders* headers = webkit_uri_response_get_http_headers(response);
    const char* disposition =
        headers != nullptr ? soup_message_headers_get_one(headers, "Content-Disposition") : nullptr;
    if (disposition == nullptr) return FALSE;
    const std::string offered = DispositionFileName(disposition);
    if (offered.empty() || SafeDownloadName(offered) == offered) return FALSE;
    DebugTrace("page", "a reply naming a file outside its folder was refused: " + offered);
    webkit_policy_decision_ignore(decision);
    return TRUE;
  }

  // The page process ended (crashed, killed, over its memory limit, or ended by us because it
  // hung): the view loads its page again, within a budget, and then shows a notice instead.
  static void OnProcessEnded(WebKitWebView*, WebKitWebProcessTerminationReason reason,
                             gpointer self) {
    DebugTrace("page", reason == WEBKIT_WEB_PROCESS_EXCEEDED_MEMORY_LIMIT
                           ? "the page process went over its memory limit"
                       : reason == WEBKIT_WEB_PROCESS_TERMINATED_BY_API
                           ? "the page process was ended: it hung"
                           : "the page process crashed");
    PageProcessGroup& group = *static_cast<WebKitBrowser*>(self)->group_;
    // Each view is told in its own time, or not at all: one recovery for all of them, once the
    // engine has said what it will.
    if (group.recovery_source == 0) {
      group.recovery_source = g_timeout_add(100, &WebKitBrowser::OnRecoveryTime, &group);
    }
  }

  static gboolean OnRecoveryTime(gpointer data) {
    auto& group = *static_cast<PageProcessGroup*>(data);
    group.recovery_source = 0;
    const auto last_chosen = std::max_element(group.views.begin(), group.views.end(),
                                              [](const WebKitBrowser* a, const WebKitBrowser* b) {
                                                return a->chosen_at_ < b->chosen_at_;
                                              });
    const std::vector<WebKitBrowser*> views = group.views;
    for (WebKitBrowser* view : views) view->Recover(view == *last_chosen);
    return G_SOURCE_REMOVE;
  }

  // `blamed`: this view's page was chosen last, and is the likeliest to have ended the process;
  // the others reload from a budget of their own, large enough for a neighbour's troubles.
  void Recover(bool blamed) {
    if (stalled_) {
      webkit_web_view_load_html(web_, kStalledNotice, nullptr);
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
      webkit_web_view_load_html(web_, kStalledNotice, nullptr);
      return;
    }
    DebugTrace("page", address + ": loaded again");
    notice_loading_ = false;
    webkit_web_view_load_uri(web_, address.c_str());
  }

  // A page that stops answering (an endless script) holds the process both views share: end it,
  // and both views recover as from a crash. The engine says so when it notices; the ping notices
  // when nothing else is asked of the page.
  static void OnResponsivenessChanged(WebKitWebView* web, GParamSpec*, gpointer) {
    if (webkit_web_view_get_is_web_process_responsive(web)) return;
    DebugTrace("page", "the page process stopped answering the engine");
    webkit_web_view_terminate_web_process(web);
  }

  static gboolean OnPingTime(gpointer self) {
    auto* view = static_cast<WebKitBrowser*>(self);
    const auto now = std::chrono::steady_clock::now();
    if (view->ping_sent_) {
      if (now - *view->ping_sent_ >= kHangAfter) {
        DebugTrace("page", "the page process did not answer its ping");
        view->ping_sent_.reset();
        webkit_web_view_terminate_web_process(view->web_);
      }
      return G_SOURCE_CONTINUE;
    }
    view->ping_sent_ = now;
    const unsigned ping = ++view->pings_;
    view->ReadScript("0", [view, ping](std::u16string) {
      if (ping == view->pings_) view->ping_sent_.reset();
    });
    return G_SOURCE_CONTINUE;
  }

  void ListenToMediaControls() {
    WebKitUserContentManager* content = webkit_web_view_get_user_content_manager(web_);
    webkit_user_content_manager_register_script_message_handler_in_world(content, kMediaChannel,
                                                                         kOwnWorld);
    g_signal_connect(content, "script-message-received::talvoMedia",
                     G_CALLBACK(&WebKitBrowser::OnMediaMessage), this);
    WebKitUserScript* script = webkit_user_script_new_for_world(
        kMediaStepScript, WEBKIT_USER_CONTENT_INJECT_TOP_FRAME,
        WEBKIT_USER_SCRIPT_INJECT_AT_DOCUMENT_START, kOwnWorld, nullptr, nullptr);
    webkit_user_content_manager_add_script(content, script);
    webkit_user_script_unref(script);
    script = webkit_user_script_new_for_world(kTypingScript, WEBKIT_USER_CONTENT_INJECT_TOP_FRAME,
                                              WEBKIT_USER_SCRIPT_INJECT_AT_DOCUMENT_START,
                                              kOwnWorld, nullptr, nullptr);
    webkit_user_content_manager_add_script(content, script);
    webkit_user_script_unref(script);
  }

  static void OnMediaMessage(WebKitUserContentManager*, WebKitJavascriptResult* result,
                             gpointer self) {
    gchar* step = jsc_value_to_string(webkit_javascript_result_get_js_value(result));
    const std::string_view said = step != nullptr ? step : "";
    if (said == "next") static_cast<WebKitBrowser*>(self)->NotifyMediaStep(1);
    if (said == "previous") static_cast<WebKitBrowser*>(self)->NotifyMediaStep(-1);
    if (said == "typing" || said == "not-typing") {
      static_cast<WebKitBrowser*>(self)->typing_ = said == "typing";
    }
    g_free(step);
  }

  static gboolean OnEnterFullscreen(WebKitWebView*, gpointer self) {
    static_cast<WebKitBrowser*>(self)->NotifyFullscreen(true);
    return FALSE;
  }

  static gboolean OnLeaveFullscreen(WebKitWebView*, gpointer self) {
    static_cast<WebKitBrowser*>(self)->NotifyFullscreen(false);
    return FALSE;
  }

  WebKitWebView* web_;
  bool silent_ = false;
  bool typing_ = false;  // the page's focus is in one of its fields
  WebKitUserScript* volume_script_ = nullptr;
  std::vector<std::shared_ptr<ScriptReply>> pending_;
  // Gone with the view: a wait for the page's answer ends when it is.
  std::shared_ptr<const bool> alive_ = std::make_shared<const bool>(true);
  std::string last_address_;
  std::chrono::steady_clock::time_point chosen_at_{};
  bool last_navigation_clicked_ = false;
  std::shared_ptr<PageProcessGroup> group_;
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

// The user's own downloads folder, or the home folder.
std::string DownloadsFolder() {
  const gchar* folder = g_get_user_special_dir(G_USER_DIRECTORY_DOWNLOAD);
  return folder != nullptr ? folder : g_get_home_dir();
}

void OnSaveChosen(GtkDialog* chooser, gint response, gpointer data) {
  auto* download = static_cast<WebKitDownload*>(data);
  gchar* uri = response == GTK_RESPONSE_ACCEPT ? gtk_file_chooser_get_uri(GTK_FILE_CHOOSER(chooser))
                                               : nullptr;
  if (uri != nullptr) {
    // The dialog itself asked before an existing file is replaced.
    webkit_download_set_allow_overwrite(download, TRUE);
    webkit_download_set_destination(download, uri);
    g_free(uri);
  } else {
    webkit_download_cancel(download);
  }
  g_object_unref(download);
  gtk_widget_destroy(GTK_WIDGET(chooser));
}

// The name the server suggests never reaches the engine's own path handling: the user chooses
// the folder and the name in the save dialog, starting from a plain name of the file's own.
gboolean OnDecideDestination(WebKitDownload* download, gchar* suggested, gpointer) {
  WebKitWebView* web = webkit_download_get_web_view(download);
  const WebKitBrowser* view = WebKitBrowser::Of(web);
  if (view == nullptr || !view->LastNavigationClicked()) {
    DebugTrace("page", std::string("a download the page started by itself was cancelled: ") +
                           (suggested != nullptr ? suggested : ""));
    webkit_download_cancel(download);
    return TRUE;
  }
  GtkWidget* toplevel = gtk_widget_get_toplevel(GTK_WIDGET(web));
  GtkWidget* chooser = gtk_file_chooser_dialog_new(
      "保存文件", GTK_IS_WINDOW(toplevel) ? GTK_WINDOW(toplevel) : nullptr,
      GTK_FILE_CHOOSER_ACTION_SAVE, "取消", GTK_RESPONSE_CANCEL, "保存", GTK_RESPONSE_ACCEPT,
      nullptr);
  gtk_window_set_modal(GTK_WINDOW(chooser), TRUE);
  gtk_file_chooser_set_do_overwrite_confirmation(GTK_FILE_CHOOSER(chooser), TRUE);
  gtk_file_chooser_set_current_folder(GTK_FILE_CHOOSER(chooser), DownloadsFolder().c_str());
  gtk_file_chooser_set_current_name(GTK_FILE_CHOOSER(chooser),
                                    SafeDownloadName(suggested ? suggested : "").c_str());
  g_signal_connect(chooser, "response", G_CALLBACK(OnSaveChosen), g_object_ref(download));
  gtk_widget_show(chooser);
  return TRUE;
}

// A file reaches the disk only after a click in the page and the user's choice in the save
// dialog; a download a page starts by itself is cancelled before anything is written.
void OnDownloadStarted(WebKitWebContext*, WebKitDownload* download, gpointer) {
  g_signal_connect(download, "decide-destination", G_CALLBACK(OnDecideDestination), nullptr);
}

// One context for both views, made on first use. Its page processes have a memory limit: a page
// over it has its process ended before the machine swaps, checked every 5 s, and the view
// recovers. Each check reads the page process's whole memory map, some 50 ms of its CPU while a
// channel plays; every 2 s that was 6 % of its main thread. Their downloads are decided as above.
WebKitWebContext* PageContext() {
  static WebKitWebContext* const context = [] {
    WebKitMemoryPressureSettings* memory = webkit_memory_pressure_settings_new();
    webkit_memory_pressure_settings_set_memory_limit(
        memory, static_cast<guint>(PageMemoryLimitMiB(MemoryCeilingBytes())));
    webkit_memory_pressure_settings_set_kill_threshold(memory, 1.0);
    webkit_memory_pressure_settings_set_poll_interval(memory, 5.0);
    auto* made = WEBKIT_WEB_CONTEXT(
        g_object_new(WEBKIT_TYPE_WEB_CONTEXT, "memory-pressure-settings", memory, nullptr));
    webkit_memory_pressure_settings_free(memory);
    // No HTTP cache: the network process keeps every response it is to store whole in memory
    // until it ends, whatever its headers say, and an endless radio station never ends: with
    // the browser's cache an evening of 128 kbit/s grew that process by 1 MiB a minute. Channel
    // pages are players whose streams are never cached anyway.
    webkit_web_context_set_cache_model(made, WEBKIT_CACHE_MODEL_DOCUMENT_VIEWER);
    // A certificate that fails is never accepted, whatever the engine's default becomes.
    webkit_website_data_manager_set_tls_errors_policy(
        webkit_web_context_get_website_data_manager(made), WEBKIT_TLS_ERRORS_POLICY_FAIL);
    g_signal_connect(made, "download-started", G_CALLBACK(OnDownloadStarted), nullptr);
    return made;
  }();
  return context;
}

// A feature the engine keeps behind a switch (WebKitGTK 2.50 has no setter for it).
void EnableFeature(WebKitSettings* settings, std::string_view identifier) {
  WebKitFeatureList* features = webkit_settings_get_all_features();
  for (gsize i = 0; i < webkit_feature_list_get_length(features); ++i) {
    WebKitFeature* feature = webkit_feature_list_get(features, i);
    if (identifier == webkit_feature_get_identifier(feature)) {
      webkit_settings_set_feature_enabled(settings, feature, TRUE);
    }
  }
  webkit_feature_list_unref(features);
}

}  // namespace

void PreparePageProcessTunables() {
  const char* inherited = std::getenv("GLIBC_TUNABLES");
  const std::string tunables = PageProcessTunables(
      inherited != nullptr ? std::optional<std::string_view>(inherited) : std::nullopt);
  setenv("GLIBC_TUNABLES", tunables.c_str(), 1);
}

std::unique_ptr<BrowserView> CreateWebViewBrowser(wxWindow* parent, BrowserView* related) {
  WebKitWebsitePolicies* policies =
      webkit_website_policies_new_with_policies("autoplay", WEBKIT_AUTOPLAY_ALLOW, nullptr);
  const auto* sibling = dynamic_cast<const WebKitBrowser*>(related);
  auto* web = WEBKIT_WEB_VIEW(sibling != nullptr
                                  ? g_object_new(WEBKIT_TYPE_WEB_VIEW, "website-policies", policies,
                                                 "related-view", sibling->Web(), nullptr)
                                  : g_object_new(WEBKIT_TYPE_WEB_VIEW, "website-policies", policies,
                                                 "web-context", PageContext(), nullptr));
  g_object_unref(policies);
  WebKitSettings* settings = webkit_web_view_get_settings(web);
  webkit_settings_set_media_playback_requires_user_gesture(settings, FALSE);
  webkit_settings_set_enable_fullscreen(settings, TRUE);
  webkit_settings_set_enable_mediasource(settings, TRUE);
  EnableFeature(settings, "MediaSessionEnabled");
  webkit_settings_set_hardware_acceleration_policy(
      settings, AcceleratedCompositingChosen() ? WEBKIT_HARDWARE_ACCELERATION_POLICY_ALWAYS
                                               : WEBKIT_HARDWARE_ACCELERATION_POLICY_NEVER);
  // Opaque whatever the page says: a translucent window border must never show through.
  const GdkRGBA opaque_white{1.0, 1.0, 1.0, 1.0};
  webkit_web_view_set_background_color(web, &opaque_white);
  gtk_widget_show(GTK_WIDGET(web));

  // The container destroys the view with the window; wx must not release it a second time.
  auto* window = new wxNativeWindow(parent, wxID_ANY, GTK_WIDGET(web));
  if (window->GetHandle() == nullptr) {
    window->Destroy();
    gtk_widget_destroy(GTK_WIDGET(web));
    return nullptr;
  }
  return std::make_unique<WebKitBrowser>(
      window, web, sibling != nullptr ? sibling->Group() : std::make_shared<PageProcessGroup>());
}

}  // namespace talvo
