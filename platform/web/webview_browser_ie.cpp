// The browser view on a Windows without Edge's engine: the system's own browser control
// (wxWebView's IE backend), in the newest document mode it offers.
#include <wx/msw/webview_ie.h>
// After wx's own Windows headers, which bring in winsock2 before windows.h.
#include <exdisp.h>
#include <urlmon.h>
#include <wininet.h>
#include <wx/webview.h>

#include <wx/filename.h>
#include <wx/stdpaths.h>

#include "core/debug_trace.h"
#include "core/proxy_use.h"
#include "core/service_address.h"
#include "platform/web/ie_document_mode.h"
#include "platform/web/page_engine.h"
#include "platform/web/page_scripts.h"
#include "platform/web/webview_backends_windows.h"
#include "platform/wx_text.h"

namespace talvo {
namespace {

class SystemBrowser final : public BrowserView {
 public:
  explicit SystemBrowser(wxWebView* web) : BrowserView(web), web_(web) {
    web_->Bind(wxEVT_WEBVIEW_LOADED, [this](wxWebViewEvent&) { NotifyLoadCompleted(); });
    // A page's new window loads in this view, for web addresses only.
    web_->Bind(wxEVT_WEBVIEW_NEWWINDOW, [this](wxWebViewEvent& event) {
      if (IsWebAddress(FromWx(event.GetURL()))) web_->LoadURL(event.GetURL());
    });
  }

  void Navigate(const std::u16string& address) override { web_->LoadURL(ToWx(address)); }

  // The control's own dialogs (script errors, prompts) stay shut.
  void SetSilent(bool silent) override {
    if (auto* browser = static_cast<IWebBrowser2*>(web_->GetNativeBackend())) {
      browser->put_Silent(silent ? VARIANT_TRUE : VARIANT_FALSE);
    }
  }

  // The control answers a script at once, with no loop of its own.
  void ReadBodyText(std::function<void(std::u16string)> done) override {
    wxString text;
    done(web_->RunScript(kBodyTextScript, &text) ? FromWx(text) : std::u16string());
  }
  // The system's browser control has no sound of its own to set: the page's players keep theirs.
  void SetSound(bool, int) override {}
  // The control's downloads go through the process's session: a proxy set there serves them.
  void SetProxy(const std::string& proxy) override {
    if (UseOf(proxy) == ProxyUse::kSystem) return;
    INTERNET_PROXY_INFO info{};
    std::string list;
    if (UseOf(proxy) == ProxyUse::kNone) {
      info.dwAccessType = INTERNET_OPEN_TYPE_DIRECT;
    } else {
      const bool socks = proxy.starts_with("socks5://");
      list = (socks ? "socks=" : "") + proxy.substr(proxy.find("//") + 2);
      info.dwAccessType = INTERNET_OPEN_TYPE_PROXY;
      // urlmon reads these as narrow strings, whatever the structure's declared type.
      info.lpszProxy = reinterpret_cast<LPCTSTR>(list.c_str());
    }
    // Refused, the control's downloads go the system's way: the log says so.
    const HRESULT set = UrlMkSetSessionOption(INTERNET_OPTION_PROXY, &info, sizeof(info), 0);
    if (FAILED(set)) {
      DebugTrace("page", "the proxy " + proxy + " was refused (" + std::to_string(set) +
                             "): the system's settings stay");
    }
  }

 private:
  wxWebView* web_;
};

}  // namespace

// The control is an ActiveX object of mshtml; without the library there is no engine, whatever
// creating the control says.
bool IeControlAvailable() {
  static const bool available = [] {
    HMODULE engine = LoadLibraryW(L"mshtml.dll");
    if (engine == nullptr) return false;
    FreeLibrary(engine);
    return wxWebView::IsBackendAvailable(wxWebViewBackendIE);
  }();
  return available;
}

// wxWidgets' own setter writes only into a key that exists, which a new user profile lacks.
std::unique_ptr<BrowserView> CreateIeBrowser(wxWindow* parent) {
  static const bool newest_mode = SetIeDocumentMode(
      kIeEmulationKey,
      wxFileName(wxStandardPaths::Get().GetExecutablePath()).GetFullName().ToStdWstring(),
      kIeDocumentMode);
  (void)newest_mode;  // a failure is in talvo.log; the control still shows pages
  wxWebView* web = wxWebView::New(parent, wxID_ANY, "about:blank", wxDefaultPosition, wxDefaultSize,
                                  wxWebViewBackendIE);
  if (web == nullptr) return nullptr;
  return std::make_unique<SystemBrowser>(web);
}

}  // namespace talvo
