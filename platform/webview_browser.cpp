#include "platform/webview_browser.h"

#include <wx/nativewin.h>

#include <webkit2/webkit2.h>

#include <memory>
#include <optional>
#include <vector>

#include "core/service_address.h"
#include "platform/fetch_wait.h"
#include "platform/wx_text.h"

namespace talvo {
namespace {

constexpr const char* kBodyTextScript = "document.body ? document.body.innerText : ''";

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
  WebKitBrowser(wxNativeWindow* window, WebKitWebView* web) : BrowserView(window), web_(web) {
    g_signal_connect(web_, "load-changed", G_CALLBACK(&WebKitBrowser::OnLoadChanged), this);
    g_signal_connect(web_, "create", G_CALLBACK(&WebKitBrowser::OnCreate), this);
    g_signal_connect(web_, "script-dialog", G_CALLBACK(&WebKitBrowser::OnScriptDialog), this);
    g_signal_connect(web_, "permission-request", G_CALLBACK(&WebKitBrowser::OnPermission), this);
    g_signal_connect(web_, "authenticate", G_CALLBACK(&WebKitBrowser::OnAuthenticate), this);
    g_signal_connect(web_, "print", G_CALLBACK(&WebKitBrowser::OnPrint), this);
    g_signal_connect(web_, "enter-fullscreen", G_CALLBACK(&WebKitBrowser::OnEnterFullscreen), this);
    g_signal_connect(web_, "leave-fullscreen", G_CALLBACK(&WebKitBrowser::OnLeaveFullscreen), this);
  }

  ~WebKitBrowser() override {
    for (const auto& reply : pending_) reply->view_gone = true;
    g_signal_handlers_disconnect_by_data(web_, this);
  }

  void Navigate(const std::u16string& address) override {
    webkit_web_view_load_uri(web_, Utf16ToUtf8(address).c_str());
  }

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
    std::erase_if(pending_, [](const auto& reply) { return reply->answered; });
    auto reply = std::make_shared<ScriptReply>();
    reply->done = std::move(done);
    pending_.push_back(reply);
    webkit_web_view_evaluate_javascript(web_, kBodyTextScript, -1, nullptr, nullptr, nullptr,
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

  static gboolean OnScriptDialog(WebKitWebView*, WebKitScriptDialog*, gpointer self) {
    return static_cast<WebKitBrowser*>(self)->silent_ ? TRUE : FALSE;
  }

  static gboolean OnPermission(WebKitWebView*, WebKitPermissionRequest* request, gpointer self) {
    if (!static_cast<WebKitBrowser*>(self)->silent_) return FALSE;
    webkit_permission_request_deny(request);
    return TRUE;
  }

  // A page behind a password shows what the server sends with its refusal, not a login form.
  static gboolean OnAuthenticate(WebKitWebView*, WebKitAuthenticationRequest* request, gpointer self) {
    if (!static_cast<WebKitBrowser*>(self)->silent_) return FALSE;
    webkit_authentication_request_authenticate(request, nullptr);
    return TRUE;
  }

  // window.print() opens no print dialog over the picture.
  static gboolean OnPrint(WebKitWebView*, WebKitPrintOperation*, gpointer self) {
    return static_cast<WebKitBrowser*>(self)->silent_ ? TRUE : FALSE;
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
};

}  // namespace

std::unique_ptr<BrowserView> CreateWebViewBrowser(wxWindow* parent, BrowserView* related) {
  WebKitWebsitePolicies* policies =
      webkit_website_policies_new_with_policies("autoplay", WEBKIT_AUTOPLAY_ALLOW, nullptr);
  const auto* sibling = dynamic_cast<const WebKitBrowser*>(related);
  auto* web = WEBKIT_WEB_VIEW(
      sibling != nullptr
          ? g_object_new(WEBKIT_TYPE_WEB_VIEW, "website-policies", policies, "related-view",
                         sibling->Web(), nullptr)
          : g_object_new(WEBKIT_TYPE_WEB_VIEW, "website-policies", policies, nullptr));
  g_object_unref(policies);
  WebKitSettings* settings = webkit_web_view_get_settings(web);
  webkit_settings_set_media_playback_requires_user_gesture(settings, FALSE);
  webkit_settings_set_enable_fullscreen(settings, TRUE);
  webkit_settings_set_enable_mediasource(settings, TRUE);
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
