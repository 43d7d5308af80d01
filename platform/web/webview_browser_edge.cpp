// The browser view on Edge's engine for applications (WebView2), through wxWebView's Edge backend:
// the engine of every current Windows, which plays what channel pages carry today. wxWidgets
// makes the engine's view; what wxWidgets does not reach is asked of the engine itself, through
// GetNativeBackend, once that view exists.
#include <wx/msw/webview_edge.h>
// After wx's own Windows headers, which bring in winsock2 before windows.h.
#include <wx/app.h>
#include <wx/filedlg.h>
#include <wx/filename.h>
#include <wx/msw/private/comptr.h>
#include <wx/stdpaths.h>
#include <wx/timer.h>
#include <wx/webview.h>

#include <WebView2.h>
#include <wx/msw/wrl/event.h>

#include <chrono>
#include <cstdint>
#include <map>
#include <memory>
#include <random>
#include <string>

#include "core/debug_trace.h"
#include "core/service_address.h"
#include "core/utf.h"
#include "platform/accessible_ui.h"
#include "platform/network_return.h"
#include "platform/web/host_probe.h"
#include "platform/web/page_engine.h"
#include "platform/web/page_outage.h"
#include "platform/web/page_safety.h"
#include "platform/web/page_scripts.h"
#include "platform/web/stream_return.h"
#include "platform/web/stream_watch.h"
#include "platform/web/webview_backends_windows.h"
#include "platform/wx_text.h"

// GCC knows a COM interface's identifier only when told; MSVC reads it from the SDK's header.
__CRT_UUID_DECL(ICoreWebView2_4, 0x20d02d59, 0x6df2, 0x42dc, 0xbd, 0x06, 0xf9, 0x8a, 0x69, 0x4b,
                0x13, 0x02);
__CRT_UUID_DECL(ICoreWebView2_8, 0xe9632730, 0x6e1e, 0x43ab, 0xb7, 0xb8, 0x7b, 0x2c, 0x9e, 0x62,
                0xe0, 0x94);
__CRT_UUID_DECL(ICoreWebView2_10, 0xb1690564, 0x6f5a, 0x4983, 0x8e, 0x48, 0x31, 0xd1, 0x14, 0x3f,
                0xec, 0xdb);
__CRT_UUID_DECL(ICoreWebView2NavigationStartingEventHandler, 0x9adbe429, 0xf36d, 0x432b, 0x9d, 0xdc,
                0xf8, 0x88, 0x1f, 0xbd, 0x76, 0xe3);
__CRT_UUID_DECL(ICoreWebView2ContentLoadingEventHandler, 0x364471e7, 0xf2be, 0x4910, 0xbd, 0xba,
                0xd7, 0x20, 0x77, 0xd5, 0x1c, 0x4b);
__CRT_UUID_DECL(ICoreWebView2NavigationCompletedEventHandler, 0xd33a35bf, 0x1c49, 0x4f98, 0x93,
                0xab, 0x00, 0x6e, 0x05, 0x33, 0xfe, 0x1c);
__CRT_UUID_DECL(ICoreWebView2ProcessFailedEventHandler, 0x79e0aea4, 0x990b, 0x42d9, 0xaa, 0x1d,
                0x0f, 0xcc, 0x2e, 0x5b, 0xc7, 0xf1);
__CRT_UUID_DECL(ICoreWebView2PermissionRequestedEventHandler, 0x15e1c6a3, 0xc72a, 0x4df3, 0x91,
                0xd7, 0xd0, 0x97, 0xfb, 0xec, 0x6b, 0xfd);
__CRT_UUID_DECL(ICoreWebView2ScriptDialogOpeningEventHandler, 0xef381bf9, 0xafa8, 0x4e37, 0x91,
                0xc4, 0x8a, 0xc4, 0x85, 0x24, 0xbd, 0xfb);
__CRT_UUID_DECL(ICoreWebView2DownloadStartingEventHandler, 0xefedc989, 0xc396, 0x41ca, 0x83, 0xf7,
                0x07, 0xf8, 0x45, 0xa5, 0x57, 0x24);
__CRT_UUID_DECL(ICoreWebView2BasicAuthenticationRequestedEventHandler, 0x58b4d6c2, 0x18d4, 0x497e,
                0xb3, 0x9b, 0x9a, 0x96, 0x53, 0x3f, 0xa2, 0x78);
__CRT_UUID_DECL(ICoreWebView2AddScriptToExecuteOnDocumentCreatedCompletedHandler, 0xb99369f3,
                0x9b11, 0x47b5, 0xbc, 0x6f, 0x8e, 0x78, 0x95, 0xfc, 0xea, 0x17);

namespace talvo {

// Our table of the engine's navigation errors is the SDK's, value for value.
static_assert(static_cast<int>(EdgeWebError::kCannotConnect) ==
              COREWEBVIEW2_WEB_ERROR_STATUS_CANNOT_CONNECT);
static_assert(static_cast<int>(EdgeWebError::kHostNameNotResolved) ==
              COREWEBVIEW2_WEB_ERROR_STATUS_HOST_NAME_NOT_RESOLVED);
static_assert(static_cast<int>(EdgeWebError::kOperationCanceled) ==
              COREWEBVIEW2_WEB_ERROR_STATUS_OPERATION_CANCELED);
static_assert(static_cast<int>(EdgeWebError::kValidProxyAuthenticationRequired) ==
              COREWEBVIEW2_WEB_ERROR_STATUS_VALID_PROXY_AUTHENTICATION_REQUIRED);

namespace {

// The page's scripts share the world of ours on this engine, and any of them may post to the
// client: a message counts only when it carries this process's secret, which lives in the
// closure of our scripts alone.
std::string MessageSecret() {
  static const std::string secret = [] {
    std::random_device random;
    std::uniform_int_distribution<unsigned> digit(0, 15);
    std::string made;
    for (int i = 0; i < 32; ++i) made += "0123456789abcdef"[digit(random)];
    return made + ":";
  }();
  return secret;
}

// The channel is taken before the page's scripts run, so a page that replaces it later never
// sees the secret; a frame the engine gives no channel posts nothing.
std::string EdgePoster() {
  return "((hub, secret) => {"
         "  if (!hub) return () => {};"
         "  const post = hub.postMessage.bind(hub);"
         "  return (m) => post(secret + m);"
         "})(window.chrome && window.chrome.webview, '" +
         MessageSecret() + "')";
}

std::string Narrow(const wchar_t* text) {
  return text != nullptr ? Utf16ToUtf8(FromWx(wxString(text))) : std::string();
}

// What the engine hands out with CoTaskMemAlloc, freed when done.
struct EngineText {
  LPWSTR text = nullptr;
  ~EngineText() { CoTaskMemFree(text); }
};

// A script kept for the documents to come: the engine's name for it, once it has given one.
struct KeptScript {
  unsigned generation = 0;
  std::wstring id;
};

class EdgeBrowser final : public BrowserView {
 public:
  explicit EdgeBrowser(wxWebView* web) : BrowserView(web), web_(web) {
    Listen(wxEVT_WEBVIEW_NAVIGATING, [this](wxWebViewEvent& event) {
      // The first navigation is wxWidgets' own, once the engine's view exists.
      if (!core_) Attach(static_cast<ICoreWebView2*>(web_->GetNativeBackend()));
      event.Skip();
    });
    Listen(wxEVT_WEBVIEW_NEWWINDOW, [this](wxWebViewEvent& event) {
      if (IsWebAddress(FromWx(event.GetURL()))) web_->LoadURL(event.GetURL());
    });
    Listen(wxEVT_WEBVIEW_FULLSCREEN_CHANGED,
           [this](wxWebViewEvent& event) { NotifyFullscreen(event.GetInt() != 0); });
    Listen(wxEVT_WEBVIEW_SCRIPT_MESSAGE_RECEIVED,
           [this](wxWebViewEvent& event) { OnMessage(Utf16ToUtf8(FromWx(event.GetString()))); });
    Listen(wxEVT_WEBVIEW_SCRIPT_RESULT, [this](wxWebViewEvent& event) { OnScriptResult(event); });
    Listen(wxEVT_DESTROY, [this](wxWindowDestroyEvent& event) {
      if (event.GetEventObject() == web_) Detach();
      event.Skip();
    });
    retry_timer_.Bind(wxEVT_TIMER, [this](wxTimerEvent&) { TryAgain(); });
    answer_timer_.Bind(wxEVT_TIMER, [this](wxTimerEvent&) {
      DebugTrace("page", answer_address_ + ": no answer in " +
                             std::to_string(kAnswerBound.count()) + " s; the notice is shown");
      ShowOutage(LoadTrouble::kNoAnswer, answer_address_);
    });
    web_->AddScriptMessageHandler("talvoHost");
    for (const char* told : {kMediaStepScript, kTypingScript}) {
      web_->AddUserScript(
          ToWx(Utf8ToUtf16("if (window.top === window) " + WithPoster(told, EdgePoster()))));
    }
    // A player may sit in a frame of the page: these run in every frame.
    for (const char* told : {kStreamWatchScript, kDoubleClickScript, kCastWatchScript}) {
      web_->AddUserScript(ToWx(Utf8ToUtf16(WithPoster(told, EdgePoster()))));
    }
    web_->AddUserScript(kPlayerReadsScript);
    // A page's window.print() opens no print preview over the picture.
    web_->AddUserScript("window.print = function () {};");
  }

  ~EdgeBrowser() override { Detach(); }

  void Navigate(const std::u16string& address) override {
    const std::string chosen = Utf16ToUtf8(address);
    last_address_ = chosen;
    stalled_ = false;
    LeaveOutage();
    stream_return_.Chosen(chosen);
    ForgetMedia();
    own_navigation_ = chosen;
    if (web_ != nullptr) web_->LoadURL(ToWx(address));
  }

  void SetSilent(bool silent) override {
    silent_ = silent;
    ApplySettings();
  }

  void ReadBodyText(std::function<void(std::u16string)> done) override {
    if (web_ == nullptr) return done({});
    const std::uintptr_t id = ++last_script_;
    script_replies_[id] = std::move(done);
    web_->RunScriptAsync(kBodyTextScript, reinterpret_cast<void*>(id));
  }

  void SetSound(bool muted, int volume_percent) override {
    muted_ = muted;
    volume_percent_ = volume_percent;
    ApplySound();
  }

  // Given to the engine once, before its first view, through its arguments (PrepareTheDesktop):
  // the engine has no setting for it afterwards.
  void SetProxy(const std::string&) override {}

  void ExitPageFullscreen() override {
    if (core_) {
      core_->ExecuteScript(L"if (document.fullscreenElement) document.exitFullscreen();", nullptr);
    }
  }

  bool TypingInPage() const override { return typing_; }

 private:
  // The window may outlive this view: what it reports then reaches nothing.
  template <typename Event, typename Handler>
  void Listen(const wxEventTypeTag<Event>& type, Handler handler) {
    web_->Bind(type, [alive = std::weak_ptr<const bool>(alive_), handler](Event& event) {
      if (alive.expired()) return event.Skip();
      handler(event);
    });
  }

  // Whatever is reported runs from the event loop, never inside the engine's call: a handler
  // there may load a page or read its text with a loop of its own.
  void Later(std::function<void()> step) {
    wxTheApp->CallAfter([alive = std::weak_ptr<const bool>(alive_), step = std::move(step)] {
      if (!alive.expired()) step();
    });
  }

  void Attach(ICoreWebView2* core) {
    if (core == nullptr) return;
    core_ = core;
    core_->add_NavigationStarting(
        Callback<ICoreWebView2NavigationStartingEventHandler>(
            [this](ICoreWebView2*, ICoreWebView2NavigationStartingEventArgs* args) -> HRESULT {
              OnNavigationStarting(args);
              return S_OK;
            })
            .Get(),
        &tokens_.navigation_starting);
    core_->add_ContentLoading(
        Callback<ICoreWebView2ContentLoadingEventHandler>(
            [this](ICoreWebView2*, ICoreWebView2ContentLoadingEventArgs* args) -> HRESULT {
              BOOL error_page = FALSE;
              args->get_IsErrorPage(&error_page);
              OnContentLoading(error_page != FALSE);
              return S_OK;
            })
            .Get(),
        &tokens_.content_loading);
    core_->add_NavigationCompleted(
        Callback<ICoreWebView2NavigationCompletedEventHandler>(
            [this](ICoreWebView2*, ICoreWebView2NavigationCompletedEventArgs* args) -> HRESULT {
              OnNavigationCompleted(args);
              return S_OK;
            })
            .Get(),
        &tokens_.navigation_completed);
    core_->add_ProcessFailed(
        Callback<ICoreWebView2ProcessFailedEventHandler>(
            [this](ICoreWebView2*, ICoreWebView2ProcessFailedEventArgs* args) -> HRESULT {
              COREWEBVIEW2_PROCESS_FAILED_KIND kind{};
              args->get_ProcessFailedKind(&kind);
              OnProcessFailed(kind);
              return S_OK;
            })
            .Get(),
        &tokens_.process_failed);
    core_->add_PermissionRequested(
        Callback<ICoreWebView2PermissionRequestedEventHandler>(
            [this](ICoreWebView2*, ICoreWebView2PermissionRequestedEventArgs* args) -> HRESULT {
              if (silent_) args->put_State(COREWEBVIEW2_PERMISSION_STATE_DENY);
              return S_OK;
            })
            .Get(),
        &tokens_.permission_requested);
    // With the engine's own dialogs off, a dialog not accepted here is dismissed. "Leave this
    // page?" is answered yes: a page must never keep the client from loading another one.
    core_->add_ScriptDialogOpening(
        Callback<ICoreWebView2ScriptDialogOpeningEventHandler>(
            [](ICoreWebView2*, ICoreWebView2ScriptDialogOpeningEventArgs* args) -> HRESULT {
              COREWEBVIEW2_SCRIPT_DIALOG_KIND kind{};
              if (SUCCEEDED(args->get_Kind(&kind)) &&
                  kind == COREWEBVIEW2_SCRIPT_DIALOG_KIND_BEFOREUNLOAD) {
                args->Accept();
              }
              return S_OK;
            })
            .Get(),
        &tokens_.script_dialog);
    wxCOMPtr<ICoreWebView2_4> with_downloads;
    if (SUCCEEDED(core_->QueryInterface(IID_PPV_ARGS(&with_downloads)))) {
      with_downloads->add_DownloadStarting(
          Callback<ICoreWebView2DownloadStartingEventHandler>(
              [this](ICoreWebView2*, ICoreWebView2DownloadStartingEventArgs* args) -> HRESULT {
                OnDownloadStarting(args);
                return S_OK;
              })
              .Get(),
          &tokens_.download_starting);
    }
    // A page behind a password shows what the server sends with its refusal, not a login form.
    wxCOMPtr<ICoreWebView2_10> with_authentication;
    if (SUCCEEDED(core_->QueryInterface(IID_PPV_ARGS(&with_authentication)))) {
      with_authentication->add_BasicAuthenticationRequested(
          Callback<ICoreWebView2BasicAuthenticationRequestedEventHandler>(
              [this](ICoreWebView2*,
                     ICoreWebView2BasicAuthenticationRequestedEventArgs* args) -> HRESULT {
                if (silent_) args->put_Cancel(TRUE);
                return S_OK;
              })
              .Get(),
          &tokens_.basic_authentication);
    }
    ApplySettings();
    ApplySound();
  }

  // The view's window is going: nothing of the engine reaches this object any more.
  void Detach() {
    retry_timer_.Stop();
    answer_timer_.Stop();
    page_probe_.Stop();
    stream_return_.Chosen("");
    if (core_) {
      core_->remove_NavigationStarting(tokens_.navigation_starting);
      core_->remove_ContentLoading(tokens_.content_loading);
      core_->remove_NavigationCompleted(tokens_.navigation_completed);
      core_->remove_ProcessFailed(tokens_.process_failed);
      core_->remove_PermissionRequested(tokens_.permission_requested);
      core_->remove_ScriptDialogOpening(tokens_.script_dialog);
      wxCOMPtr<ICoreWebView2_4> with_downloads;
      if (SUCCEEDED(core_->QueryInterface(IID_PPV_ARGS(&with_downloads)))) {
        with_downloads->remove_DownloadStarting(tokens_.download_starting);
      }
      wxCOMPtr<ICoreWebView2_10> with_authentication;
      if (SUCCEEDED(core_->QueryInterface(IID_PPV_ARGS(&with_authentication)))) {
        with_authentication->remove_BasicAuthenticationRequested(tokens_.basic_authentication);
      }
      core_.reset();
    }
    web_ = nullptr;
  }

  void ApplySettings() {
    if (!core_) return;
    wxCOMPtr<ICoreWebView2Settings> settings;
    if (FAILED(core_->get_Settings(&settings))) return;
    settings->put_AreDefaultScriptDialogsEnabled(silent_ ? FALSE : TRUE);
    settings->put_IsStatusBarEnabled(FALSE);
    settings->put_AreHostObjectsAllowed(FALSE);
  }

  // The engine mutes the view itself; the players' volume is kept by a script of ours, set as
  // each document is made and on the document on show.
  void ApplySound() {
    if (!core_) return;
    wxCOMPtr<ICoreWebView2_8> with_sound;
    if (SUCCEEDED(core_->QueryInterface(IID_PPV_ARGS(&with_sound)))) {
      with_sound->put_IsMuted(muted_ ? TRUE : FALSE);
    }
    RunKept(volume_script_, VolumeScript(volume_percent_));
  }

  // The line over the view while a stream is away, on the page on show and on those to come.
  void ShowStreamLine(bool shown) { RunKept(line_script_, StreamLineScript(shown), shown); }

  void SetCastLine(const std::u16string& text) override {
    RunKept(cast_line_script_, PageLineScript("cast", text), !text.empty());
  }

  // Runs `script` on the page on show and, when `kept`, on every document to come in place of
  // the one `slot` held: the engine names a kept script only later, so only the newest stays.
  void RunKept(KeptScript& slot, const std::string& text, bool kept = true) {
    if (!core_) return;
    const std::wstring script = ToWx(Utf8ToUtf16(text)).ToStdWstring();
    const unsigned generation = ++slot.generation;
    if (!slot.id.empty()) core_->RemoveScriptToExecuteOnDocumentCreated(slot.id.c_str());
    slot.id.clear();
    if (kept) {
      core_->AddScriptToExecuteOnDocumentCreated(
          script.c_str(),
          Callback<ICoreWebView2AddScriptToExecuteOnDocumentCreatedCompletedHandler>(
              [this, &slot, generation, alive = std::weak_ptr<const bool>(alive_)](
                  HRESULT result, LPCWSTR id) -> HRESULT {
                if (alive.expired() || FAILED(result) || id == nullptr || !core_) return S_OK;
                if (generation != slot.generation) {
                  core_->RemoveScriptToExecuteOnDocumentCreated(id);
                } else {
                  slot.id = id;
                }
                return S_OK;
              })
              .Get());
    }
    core_->ExecuteScript(script.c_str(), nullptr);
  }

  void OnMessage(const std::string& message) {
    const std::string secret = MessageSecret();
    if (message.compare(0, secret.size(), secret) != 0) return;
    const std::string said = message.substr(secret.size());
    if (said == "next") NotifyMediaStep(1);
    if (said == "previous") NotifyMediaStep(-1);
    if (said == "double-click") NotifyDoubleClicked();
    if (std::optional<PageMedia> media = ReadCastReport(said)) NotifyMedia(std::move(*media));
    if (said == "typing" || said == "not-typing") typing_ = said == "typing";
    if (const std::optional<MediaReport> report = ParseMediaReport(said)) {
      stream_return_.Reported(*report);
    }
  }

  void OnScriptResult(wxWebViewEvent& event) {
    const auto reply =
        script_replies_.find(reinterpret_cast<std::uintptr_t>(event.GetClientData()));
    if (reply == script_replies_.end()) return;
    const std::function<void(std::u16string)> done = std::move(reply->second);
    script_replies_.erase(reply);
    done(event.IsError() ? std::u16string() : FromWx(event.GetString()));
  }

  // Only a navigation that a click in the page started may become a download; the channel
  // choices of the client are navigations of its own.
  void OnNavigationStarting(ICoreWebView2NavigationStartingEventArgs* args) {
    EngineText uri;
    args->get_Uri(&uri.text);
    const std::string address = Narrow(uri.text);
    UINT64 id = 0;
    args->get_NavigationId(&id);
    BOOL user = FALSE;
    args->get_IsUserInitiated(&user);
    if (!own_navigation_.empty() && address == own_navigation_) {
      own_navigation_id_ = id;
      own_navigation_.clear();
    }
    clicked_ = id != own_navigation_id_ && user != FALSE;
    navigation_address_ = address;
    typing_ = false;
    if (notice_loading_) return;
    if (!IsWebAddress(Utf8ToUtf16(address))) return;
    if (address != outage_address_) LeaveOutage();  // a link, a script, a bulletin
    answer_address_ = address;
    answer_timer_.StartOnce(static_cast<int>(kAnswerBound.count() * 1000));
  }

  void OnContentLoading(bool error_page) {
    answer_timer_.Stop();  // the document began to arrive
    stream_return_.DocumentChanged();
    if (notice_loading_ || error_page || !IsWebAddress(Utf8ToUtf16(navigation_address_))) return;
    // A page arrived: nothing more to retry, and whoever waits for the network may try.
    LeaveOutage();
    ReportServiceAnswered();
  }

  // The engine's own error page is a dead end in English: the view shows a notice of ours
  // instead, and tries the page again until it comes.
  void OnNavigationCompleted(ICoreWebView2NavigationCompletedEventArgs* args) {
    answer_timer_.Stop();
    BOOL success = TRUE;
    args->get_IsSuccess(&success);
    COREWEBVIEW2_WEB_ERROR_STATUS status = COREWEBVIEW2_WEB_ERROR_STATUS_UNKNOWN;
    if (!success) args->get_WebErrorStatus(&status);
    const bool notice = notice_loading_;
    notice_loading_ = false;
    const std::string address = navigation_address_;
    Later([this, success, status, notice, address] {
      if (!success && !notice && IsWebAddress(Utf8ToUtf16(address))) {
        if (const std::optional<LoadTrouble> trouble = TroubleOfEdgeError(status)) {
          DebugTrace("page", address + ": the engine's error " + std::to_string(status) +
                                 "; the notice is shown");
          ShowOutage(*trouble, address);
        }
      }
      NotifyLoadCompleted();
    });
  }

  void ShowOutage(LoadTrouble trouble, const std::string& address) {
    if (!core_) return;
    if (address != outage_address_) {
      LeaveOutage();
      outage_address_ = address;
      AnnounceToReaders(web_, Utf8ToUtf16(OutageAnnouncement(trouble)));
    }
    WatchTheDesktopNetwork();
    page_probe_.Watch(address);
    retry_timer_.StartOnce(static_cast<int>(retry_.Failed(trouble).count() * 1000));
    ShowHtml(OutageNoticeHtml(trouble, address));
  }

  void ShowHtml(const std::string& html) {
    notice_loading_ = true;
    core_->NavigateToString(ToWx(Utf8ToUtf16(html)).wc_str());
  }

  // The backoff is up or the network is back: the page the notice stands for is loaded again,
  // unless the view has moved on since.
  void TryAgain() {
    if (!core_ || !retry_.TryNow()) return;
    retry_timer_.Stop();
    DebugTrace("page", outage_address_ + ": tried again");
    notice_loading_ = false;
    core_->Navigate(ToWx(Utf8ToUtf16(outage_address_)).wc_str());
  }

  void LeaveOutage() {
    retry_.Ended();
    outage_address_.clear();
    retry_timer_.Stop();
    page_probe_.Stop();
  }

  // The page's process ended or stopped answering: the view loads its page again, within the
  // budget a view of either engine has, and then shows a notice instead.
  void OnProcessFailed(COREWEBVIEW2_PROCESS_FAILED_KIND kind) {
    if (kind == COREWEBVIEW2_PROCESS_FAILED_KIND_BROWSER_PROCESS_EXITED) {
      DebugTrace("page", "the engine's browser process ended");
      return;
    }
    if (kind != COREWEBVIEW2_PROCESS_FAILED_KIND_RENDER_PROCESS_EXITED &&
        kind != COREWEBVIEW2_PROCESS_FAILED_KIND_RENDER_PROCESS_UNRESPONSIVE) {
      return;  // a helper of the engine's: it replaces that itself
    }
    DebugTrace("page", kind == COREWEBVIEW2_PROCESS_FAILED_KIND_RENDER_PROCESS_UNRESPONSIVE
                           ? "the page process stopped answering"
                           : "the page process ended");
    Later([this] { Recover(); });
  }

  void Recover() {
    if (!core_) return;
    if (stalled_) return ShowHtml(kStalledNoticeHtml);
    EngineText shown;
    core_->get_Source(&shown.text);
    const std::string source = Narrow(shown.text);
    const std::string address = IsWebAddress(Utf8ToUtf16(source)) ? source : last_address_;
    if (address.empty()) return;
    if (!reloads_.Take(ReloadBudget::Clock::now())) {
      DebugTrace("page", address + ": reloads used up; the notice is shown instead");
      LeaveOutage();
      stalled_ = true;
      return ShowHtml(kStalledNoticeHtml);
    }
    DebugTrace("page", address + ": loaded again");
    notice_loading_ = false;
    core_->Navigate(ToWx(Utf8ToUtf16(address)).wc_str());
  }

  // A download only after a click in the page, and only to where the viewer chose in the save
  // dialog; the engine's own download bar never shows.
  void OnDownloadStarting(ICoreWebView2DownloadStartingEventArgs* args) {
    if (!silent_) return;
    EngineText offered;
    args->get_ResultFilePath(&offered.text);
    const wxFileName path(offered.text != nullptr ? wxString(offered.text) : wxString());
    if (!clicked_) {
      DebugTrace("page", "a download the page started by itself was cancelled: " +
                             Utf16ToUtf8(FromWx(path.GetFullName())));
      args->put_Cancel(TRUE);
      return;
    }
    args->put_Handled(TRUE);
    wxCOMPtr<ICoreWebView2Deferral> deferral;
    if (FAILED(args->GetDeferral(&deferral))) {
      args->put_Cancel(TRUE);
      return;
    }
    wxCOMPtr<ICoreWebView2DownloadStartingEventArgs> kept(args);
    const std::string name = SafeDownloadName(Utf16ToUtf8(FromWx(path.GetFullName())));
    const wxString folder = path.GetPath();
    Later([this, kept, deferral, name, folder] {
      wxFileDialog chooser(web_ != nullptr ? wxGetTopLevelParent(web_) : nullptr, ToWx(u"保存文件"),
                           folder, ToWx(Utf8ToUtf16(name)), "*.*",
                           wxFD_SAVE | wxFD_OVERWRITE_PROMPT);
      if (chooser.ShowModal() == wxID_OK) {
        kept->put_ResultFilePath(chooser.GetPath().wc_str());
      } else {
        kept->put_Cancel(TRUE);
      }
      deferral->Complete();
    });
  }

  wxWebView* web_;
  wxCOMPtr<ICoreWebView2> core_;
  struct {
    EventRegistrationToken navigation_starting{}, content_loading{}, navigation_completed{},
        process_failed{}, permission_requested{}, script_dialog{}, download_starting{},
        basic_authentication{};
  } tokens_;
  std::shared_ptr<const bool> alive_ = std::make_shared<const bool>(true);
  bool silent_ = false;
  bool typing_ = false;
  bool muted_ = false;
  int volume_percent_ = 100;
  KeptScript volume_script_;
  KeptScript line_script_;
  KeptScript cast_line_script_;
  std::uintptr_t last_script_ = 0;
  std::map<std::uintptr_t, std::function<void(std::u16string)>> script_replies_;
  // Which navigation is the client's own, and which one is under way.
  std::string own_navigation_;
  UINT64 own_navigation_id_ = 0;
  std::string navigation_address_;
  bool clicked_ = false;
  // The page chosen last, the notice of a page that cannot be loaded, and its retries.
  std::string last_address_;
  std::string outage_address_;
  std::string answer_address_;
  bool notice_loading_ = false;
  bool stalled_ = false;
  RetryRule retry_;
  ReloadBudget reloads_;
  wxTimer retry_timer_;
  wxTimer answer_timer_;
  NetworkReturnListener on_network_return_{[this] { TryAgain(); }};
  // While a notice shows, its page's host is checked: the page comes the moment it answers.
  HostProbe page_probe_{[this](bool answered) {
    if (!retry_.HostChecked(answered)) return;
    DebugTrace("page", outage_address_ + ": its host answers again");
    TryAgain();
  }};
  HostProbe stream_probe_{[this](bool answered) { stream_return_.HostChecked(answered); }};
  StreamReturn stream_return_{web_,
                              {[this](const std::string& address) {
                                 if (core_) core_->Navigate(ToWx(Utf8ToUtf16(address)).wc_str());
                               },
                               [this](bool shown) { ShowStreamLine(shown); },
                               [this] { return stalled_ || !outage_address_.empty(); },
                               [this](const std::string& address) { stream_probe_.Watch(address); },
                               [this] { stream_probe_.Stop(); }}};
};

}  // namespace

// The loader beside the program finds the runtime, or says there is none.
bool EdgeRuntimeInstalled() { return wxWebView::IsBackendAvailable(wxWebViewBackendEdge); }

std::unique_ptr<BrowserView> CreateEdgeBrowser(wxWindow* parent) {
  // wxWidgets gives the engine the user's own local data folder for its profile, never the
  // program's: a talvo.exe in Program Files cannot write beside itself.
  static const bool told = [] {
    DebugTrace("page", "Edge's engine keeps its profile in " +
                           Utf16ToUtf8(FromWx(wxStandardPaths::Get().GetUserLocalDataDir())));
    return true;
  }();
  (void)told;
  wxWebView* web = wxWebView::New(parent, wxID_ANY, "about:blank", wxDefaultPosition, wxDefaultSize,
                                  wxWebViewBackendEdge);
  if (web == nullptr) return nullptr;
  return std::make_unique<EdgeBrowser>(web);
}

}  // namespace talvo
