#include "platform/webview_browser.h"

#include <wx/webview.h>

#ifdef __WXGTK__
#include <webkit2/webkit2.h>
#endif

#include <cstdint>
#include <map>

#include "core/service_address.h"
#include "platform/wx_text.h"

namespace talvo {
namespace {

class WebViewBrowser final : public BrowserView {
 public:
  explicit WebViewBrowser(wxWebView* view) : BrowserView(view), view_(view) {
    view_->Bind(wxEVT_WEBVIEW_LOADED, &WebViewBrowser::OnLoaded, this);
    view_->Bind(wxEVT_WEBVIEW_NEWWINDOW, &WebViewBrowser::OnNewWindow, this);
    view_->Bind(wxEVT_WEBVIEW_SCRIPT_RESULT, &WebViewBrowser::OnScriptResult, this);
#ifdef __WXGTK__
    if (auto* web = static_cast<WebKitWebView*>(view_->GetNativeBackend())) {
      g_signal_connect(web, "script-dialog", G_CALLBACK(&WebViewBrowser::OnScriptDialog), this);
      g_signal_connect(web, "permission-request", G_CALLBACK(&WebViewBrowser::OnPermission),
                       this);
      // Opaque whatever the page says: a translucent window border must never show through.
      const GdkRGBA opaque_white{1.0, 1.0, 1.0, 1.0};
      webkit_web_view_set_background_color(web, &opaque_white);
      // A TV client: the channel page starts its player without a click.
      WebKitSettings* settings = webkit_web_view_get_settings(web);
      webkit_settings_set_media_playback_requires_user_gesture(settings, FALSE);
    }
#endif
  }

  ~WebViewBrowser() override {
    view_->Unbind(wxEVT_WEBVIEW_LOADED, &WebViewBrowser::OnLoaded, this);
    view_->Unbind(wxEVT_WEBVIEW_NEWWINDOW, &WebViewBrowser::OnNewWindow, this);
    view_->Unbind(wxEVT_WEBVIEW_SCRIPT_RESULT, &WebViewBrowser::OnScriptResult, this);
#ifdef __WXGTK__
    if (auto* web = static_cast<WebKitWebView*>(view_->GetNativeBackend())) {
      g_signal_handlers_disconnect_by_data(web, this);
    }
#endif
  }

  void Navigate(const std::u16string& address) override { view_->LoadURL(ToWx(address)); }
  void SetSilent(bool silent) override { silent_ = silent; }

  std::u16string BodyText() override {
    wxString text;
    if (!view_->RunScript(kBodyTextScript, &text)) return {};
    return FromWx(text);
  }

  void ReadBodyText(std::function<void(std::u16string)> done) override {
    const std::uintptr_t id = ++last_read_;
    pending_reads_.emplace(id, std::move(done));
    view_->RunScriptAsync(kBodyTextScript, reinterpret_cast<void*>(id));
  }

 private:
  void OnLoaded(wxWebViewEvent& event) {
    event.Skip();
    NotifyLoadCompleted();
  }

  void OnScriptResult(wxWebViewEvent& event) {
    const auto found = pending_reads_.find(reinterpret_cast<std::uintptr_t>(event.GetClientData()));
    if (found == pending_reads_.end()) return;
    const std::function<void(std::u16string)> done = std::move(found->second);
    pending_reads_.erase(found);
    // A document without a body, or a script that failed, has no text.
    done(event.IsError() ? std::u16string() : FromWx(event.GetString()));
  }

  // Pages that open windows get them in this view instead.
  void OnNewWindow(wxWebViewEvent& event) {
    const std::u16string address = FromWx(event.GetURL());
    if (IsWebAddress(address)) view_->LoadURL(event.GetURL());
  }

#ifdef __WXGTK__
  static gboolean OnScriptDialog(WebKitWebView*, WebKitScriptDialog*, gpointer self) {
    return static_cast<WebViewBrowser*>(self)->silent_ ? TRUE : FALSE;
  }

  static gboolean OnPermission(WebKitWebView*, WebKitPermissionRequest* request, gpointer self) {
    if (!static_cast<WebViewBrowser*>(self)->silent_) return FALSE;
    webkit_permission_request_deny(request);
    return TRUE;
  }
#endif

  static constexpr const char* kBodyTextScript = "document.body ? document.body.innerText : ''";

  wxWebView* view_;
  bool silent_ = false;
  std::uintptr_t last_read_ = 0;
  std::map<std::uintptr_t, std::function<void(std::u16string)>> pending_reads_;
};

}  // namespace

std::unique_ptr<BrowserView> CreateWebViewBrowser(wxWindow* parent) {
  wxWebView* view = wxWebView::New(parent, wxID_ANY, wxWebViewDefaultURLStr);
  if (view == nullptr) return nullptr;
  return std::make_unique<WebViewBrowser>(view);
}

}  // namespace talvo
