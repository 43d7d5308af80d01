#include "platform/webview_browser.h"

#include <wx/nativewin.h>

#include <webkit2/webkit2.h>

#include <chrono>
#include <memory>
#include <optional>
#include <string_view>
#include <vector>

#include "core/debug_trace.h"
#include "core/service_address.h"
#include "platform/fetch_wait.h"
#include "platform/page_safety.h"
#include "platform/rendering_path_probe.h"
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

// Shown instead of a page that keeps ending its page process.
constexpr const char* kStalledNotice =
    "<html><body style='margin:0;background:#000;color:#ccc;font:16px sans-serif;"
    "text-align:center;padding-top:15%'>此页面反复停止运行，已不再自动重新载入。<br>"
    "请稍后再次点选频道或电台。</body></html>";

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
  WebKitBrowser(wxNativeWindow* window, WebKitWebView* web)
      : BrowserView(window), web_(WEBKIT_WEB_VIEW(g_object_ref(web))) {
    g_signal_connect(web_, "load-changed", G_CALLBACK(&WebKitBrowser::OnLoadChanged), this);
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
    for (const auto& reply : pending_) reply->view_gone = true;
    g_object_set_data(G_OBJECT(web_), kBrowserKey, nullptr);
    g_signal_handlers_disconnect_by_data(web_, this);
    if (WebKitUserContentManager* content = webkit_web_view_get_user_content_manager(web_)) {
      g_signal_handlers_disconnect_by_data(content, this);
    }
    g_object_unref(web_);
  }

  void Navigate(const std::u16string& address) override {
    last_address_ = Utf16ToUtf8(address);
    webkit_web_view_load_uri(web_, last_address_.c_str());
  }

  // The page of the view, or nothing: what the engine reports on its context names the view.
  static WebKitBrowser* Of(WebKitWebView* web) {
    return web != nullptr
               ? static_cast<WebKitBrowser*>(g_object_get_data(G_OBJECT(web), kBrowserKey))
               : nullptr;
  }
  bool LastNavigationClicked() const { return last_navigation_clicked_; }

  void SetSilent(bool silent) override { silent_ = silent; }
  WebKitWebView* Web() const { return web_; }

  void ExitPageFullscreen() override {
    webkit_web_view_evaluate_javascript(
        web_, "if (document.fullscreenElement) document.exitFullscreen();", -1, nullptr, nullptr,
        nullptr, nullptr, nullptr);
  }

  std::u16string BodyText() override {
    std::optional<std::u16string> text;
    ReadBodyText([&text](std::u16string result) { text = std::move(result); });
    LoopForWaiting loop;
    while (!text) loop->Dispatch();
    return *text;
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

  static void OnLoadChanged(WebKitWebView*, WebKitLoadEvent event, gpointer self) {
    if (event == WEBKIT_LOAD_FINISHED) static_cast<WebKitBrowser*>(self)->NotifyLoadCompleted();
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
    // own and ends the process that reads it, so such a name never reaches the engine: the
    // header is read here, and the reply refused before it can turn into a download.
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
    static_cast<WebKitBrowser*>(self)->Recover();
  }

  void Recover() {
    const gchar* shown = webkit_web_view_get_uri(web_);
    const std::string address =
        shown != nullptr && IsWebAddress(Utf8ToUtf16(shown)) ? std::string(shown) : last_address_;
    if (address.empty()) return;
    if (!reloads_.Take(ReloadBudget::Clock::now())) {
      DebugTrace("page", address + ": reloads used up; the notice is shown instead");
      webkit_web_view_load_html(web_, kStalledNotice, nullptr);
      return;
    }
    DebugTrace("page", address + ": loaded again");
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
  }

  static void OnMediaMessage(WebKitUserContentManager*, WebKitJavascriptResult* result,
                             gpointer self) {
    gchar* step = jsc_value_to_string(webkit_javascript_result_get_js_value(result));
    const std::string_view said = step != nullptr ? step : "";
    if (said == "next") static_cast<WebKitBrowser*>(self)->NotifyMediaStep(1);
    if (said == "previous") static_cast<WebKitBrowser*>(self)->NotifyMediaStep(-1);
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
  std::vector<std::shared_ptr<ScriptReply>> pending_;
  std::string last_address_;
  bool last_navigation_clicked_ = false;
  ReloadBudget reloads_;
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
    g_signal_connect(made, "download-started", G_CALLBACK(OnDownloadStarted), nullptr);
    return made;
  }();
  return context;
}

// A feature the engine keeps behind a switch (it has no setter of its own).
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
  return std::make_unique<WebKitBrowser>(window, web);
}

}  // namespace talvo
