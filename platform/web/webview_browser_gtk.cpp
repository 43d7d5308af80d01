#include "platform/web/webview_browser.h"

#include <wx/nativewin.h>

#include <webkit2/webkit2.h>

#include <stdlib.h>

#include <memory>
#include <optional>
#include <string_view>
#include <vector>

#include "core/proxy_use.h"
#include "core/service_address.h"
#include "platform/web/downloads_webkit.h"
#include "platform/web/host_probe.h"
#include "platform/web/outage_recovery_webkit.h"
#include "platform/web/page_memory.h"
#include "platform/web/page_scripts.h"
#include "platform/web/process_recovery_webkit.h"
#include "platform/web/rendering_path_probe.h"
#include "platform/web/stream_return.h"
#include "platform/wx_text.h"

namespace talvo {
namespace {

// Where the view's object is found from the engine's view, for what the engine reports on the
// page process's context rather than on a view.
constexpr const char* kBrowserKey = "talvo-browser";

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
        // Made first, so that its handlers see each load event before the view's own.
        outage_(web, window),
        process_(
            web, std::move(group),
            [this](std::function<void()> answered) {
              ReadScript("0", [answered = std::move(answered)](std::u16string) { answered(); });
            },
            outage_),
        stream_return_(window,
                       {[this](const std::string& address) {
                          webkit_web_view_load_uri(web_, address.c_str());
                        },
                        [this](bool shown) { ShowStreamLine(shown); },
                        [this] { return outage_.NoticeShows() || process_.Stalled(); },
                        [this](const std::string& address) { stream_probe_.Watch(address); },
                        [this] { stream_probe_.Stop(); }}) {
    g_signal_connect(web_, "load-changed", G_CALLBACK(&WebKitBrowser::OnLoadChanged), this);
    g_signal_connect(web_, "create", G_CALLBACK(&WebKitBrowser::OnCreate), this);
    g_signal_connect(web_, "script-dialog", G_CALLBACK(&WebKitBrowser::OnScriptDialog), this);
    g_signal_connect(web_, "permission-request", G_CALLBACK(&WebKitBrowser::OnPermission), this);
    g_signal_connect(web_, "authenticate", G_CALLBACK(&WebKitBrowser::OnAuthenticate), this);
    g_signal_connect(web_, "print", G_CALLBACK(&WebKitBrowser::OnPrint), this);
    g_signal_connect(web_, "enter-fullscreen", G_CALLBACK(&WebKitBrowser::OnEnterFullscreen), this);
    g_signal_connect(web_, "leave-fullscreen", G_CALLBACK(&WebKitBrowser::OnLeaveFullscreen), this);
    g_signal_connect(web_, "decide-policy", G_CALLBACK(&WebKitBrowser::OnDecidePolicy), this);
    g_object_set_data(G_OBJECT(web_), kBrowserKey, this);
    ListenToMediaControls();
  }

  ~WebKitBrowser() override {
    for (const auto& reply : pending_) reply->view_gone = true;
    g_object_set_data(G_OBJECT(web_), kBrowserKey, nullptr);
    g_signal_handlers_disconnect_by_data(web_, this);
    if (WebKitUserContentManager* content = webkit_web_view_get_user_content_manager(web_)) {
      g_signal_handlers_disconnect_by_data(content, this);
    }
    if (volume_script_ != nullptr) webkit_user_script_unref(volume_script_);
    if (line_script_ != nullptr) webkit_user_script_unref(line_script_);
    if (cast_line_script_ != nullptr) webkit_user_script_unref(cast_line_script_);
    g_object_unref(web_);
  }

  void Navigate(const std::u16string& address) override {
    const std::string chosen = Utf16ToUtf8(address);
    outage_.Leave();
    process_.Chosen(chosen);
    stream_return_.Chosen(chosen);
    ForgetMedia();
    webkit_web_view_load_uri(web_, chosen.c_str());
  }

  void SetCastLine(const std::u16string& text) override {
    RunKept(cast_line_script_, PageLineScript("cast", text), WEBKIT_USER_CONTENT_INJECT_TOP_FRAME,
            !text.empty());
  }

  std::shared_ptr<PageProcessGroup> Group() const { return process_.Group(); }

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
    RunKept(volume_script_, VolumeScript(volume_percent), WEBKIT_USER_CONTENT_INJECT_ALL_FRAMES);
  }

  bool TypingInPage() const override { return typing_; }

  void SetProxy(const std::string& proxy) override {
    WebKitWebsiteDataManager* data =
        webkit_web_context_get_website_data_manager(webkit_web_view_get_context(web_));
    if (UseOf(proxy) == ProxyUse::kSystem) {
      webkit_website_data_manager_set_network_proxy_settings(
          data, WEBKIT_NETWORK_PROXY_MODE_DEFAULT, nullptr);
    } else if (UseOf(proxy) == ProxyUse::kNone) {
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

  static void OnLoadChanged(WebKitWebView*, WebKitLoadEvent event, gpointer data) {
    auto* self = static_cast<WebKitBrowser*>(data);
    if (event == WEBKIT_LOAD_COMMITTED) {
      self->typing_ = false;  // the new document has no focus in a field yet
      self->stream_return_.DocumentChanged();
    } else if (event == WEBKIT_LOAD_FINISHED) {
      self->NotifyLoadCompleted();
    }
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
    return type == WEBKIT_POLICY_DECISION_TYPE_RESPONSE && RefuseUnsafeDownloadName(decision)
               ? TRUE
               : FALSE;
  }

  void ListenToMediaControls() {
    WebKitUserContentManager* content = webkit_web_view_get_user_content_manager(web_);
    webkit_user_content_manager_register_script_message_handler_in_world(content, kMediaChannel,
                                                                         kOwnWorld);
    g_signal_connect(content, "script-message-received::talvoMedia",
                     G_CALLBACK(&WebKitBrowser::OnMediaMessage), this);
    for (const char* told : {kMediaStepScript, kTypingScript, kStreamWatchScript,
                             kDoubleClickScript, kCastWatchScript}) {
      // A player may sit in a frame of the page; the page's keys and controls are its top's.
      const bool every_frame =
          told == kStreamWatchScript || told == kDoubleClickScript || told == kCastWatchScript;
      WebKitUserScript* script = webkit_user_script_new_for_world(
          WithPoster(told, kWebKitPoster).c_str(),
          every_frame ? WEBKIT_USER_CONTENT_INJECT_ALL_FRAMES
                      : WEBKIT_USER_CONTENT_INJECT_TOP_FRAME,
          WEBKIT_USER_SCRIPT_INJECT_AT_DOCUMENT_START, kOwnWorld, nullptr, nullptr);
      webkit_user_content_manager_add_script(content, script);
      webkit_user_script_unref(script);
    }
    // In the page's world: that is where its player asks for what it reads.
    WebKitUserScript* reads =
        webkit_user_script_new(kPlayerReadsScript, WEBKIT_USER_CONTENT_INJECT_ALL_FRAMES,
                               WEBKIT_USER_SCRIPT_INJECT_AT_DOCUMENT_START, nullptr, nullptr);
    webkit_user_content_manager_add_script(content, reads);
    webkit_user_script_unref(reads);
  }

  static void OnMediaMessage(WebKitUserContentManager*, WebKitJavascriptResult* result,
                             gpointer self) {
    gchar* step = jsc_value_to_string(webkit_javascript_result_get_js_value(result));
    const std::string_view said = step != nullptr ? step : "";
    if (const std::optional<MediaReport> report = ParseMediaReport(said)) {
      static_cast<WebKitBrowser*>(self)->stream_return_.Reported(*report);
    }
    if (said == "next") static_cast<WebKitBrowser*>(self)->NotifyMediaStep(1);
    if (said == "previous") static_cast<WebKitBrowser*>(self)->NotifyMediaStep(-1);
    if (said == "double-click") static_cast<WebKitBrowser*>(self)->NotifyDoubleClicked();
    if (std::optional<PageMedia> media = ReadCastReport(said)) {
      static_cast<WebKitBrowser*>(self)->NotifyMedia(std::move(*media));
    }
    if (said == "typing" || said == "not-typing") {
      static_cast<WebKitBrowser*>(self)->typing_ = said == "typing";
    }
    g_free(step);
  }

  // The line over the view while a stream is away, on the page on show and on those to come.
  void ShowStreamLine(bool shown) {
    RunKept(line_script_, StreamLineScript(shown), WEBKIT_USER_CONTENT_INJECT_TOP_FRAME, shown);
  }

  // Runs `script` in our world on the page on show, and, when `kept`, on every document to come
  // in place of the one `slot` held.
  void RunKept(WebKitUserScript*& slot, const std::string& script,
               WebKitUserContentInjectedFrames frames, bool kept = true) {
    WebKitUserContentManager* content = webkit_web_view_get_user_content_manager(web_);
    if (slot != nullptr) {
      webkit_user_content_manager_remove_script(content, slot);
      webkit_user_script_unref(slot);
      slot = nullptr;
    }
    if (kept) {
      slot = webkit_user_script_new_for_world(script.c_str(), frames,
                                              WEBKIT_USER_SCRIPT_INJECT_AT_DOCUMENT_START,
                                              kOwnWorld, nullptr, nullptr);
      webkit_user_content_manager_add_script(content, slot);
    }
    webkit_web_view_evaluate_javascript(web_, script.c_str(), -1, kOwnWorld, nullptr, nullptr,
                                        nullptr, nullptr);
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
  WebKitUserScript* line_script_ = nullptr;
  WebKitUserScript* cast_line_script_ = nullptr;
  std::vector<std::shared_ptr<ScriptReply>> pending_;
  // Gone with the view: a wait for the page's answer ends when it is.
  std::shared_ptr<const bool> alive_ = std::make_shared<const bool>(true);
  bool last_navigation_clicked_ = false;
  OutageRecovery outage_;
  ProcessRecovery process_;
  HostProbe stream_probe_{[this](bool answered) { stream_return_.HostChecked(answered); }};
  StreamReturn stream_return_;
};

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
    DecideDownloads(made, [](WebKitWebView* web) {
      const WebKitBrowser* view = WebKitBrowser::Of(web);
      return view != nullptr && view->LastNavigationClicked();
    });
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
