// Which engine the Windows views play pages with, and what that engine is told before its first
// view, without the engine: decided here so that each rule is tested on every system.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/web/page_outage.h"

namespace talvo {

// Edge's engine for applications (WebView2) plays what current pages carry; the IE control plays
// only MP4 and MP3 with scripts of ECMAScript 5; without either the views say so.
enum class PageEngine { kEdge, kInternetExplorer, kNone };

PageEngine ChoosePageEngine(bool edge_runtime_installed, bool ie_control_available);
// How talvo.log names it.
std::string_view PageEngineName(PageEngine engine);

// The IE control's document mode for talvo.exe: always IE 11's newest, whatever the page's
// doctype says (many channel pages have none, and quirks mode has no <video>).
inline constexpr unsigned long kIeDocumentMode = 11001;

// Edge's engine takes its switches from this variable when its environment is made: wxWidgets 3.2
// passes no environment options when built with GCC.
inline constexpr const char* kEdgeArgumentsVariable = "WEBVIEW2_ADDITIONAL_BROWSER_ARGUMENTS";

// The variable's value: the user's own switches, kept as they are, then ours: media play with
// sound without a click, and the proxy of [network] ("system" adds none). A switch of ours that
// the user's value already names is left out: the user's own choice stands.
std::string EdgeBrowserArguments(std::string_view users_own, std::string_view proxy);

// COREWEBVIEW2_WEB_ERROR_STATUS, by value (the SDK's header is Windows-only; its view checks
// that these match).
enum class EdgeWebError {
  kUnknown = 0,
  kCertificateCommonNameIsIncorrect = 1,
  kCertificateExpired = 2,
  kClientCertificateContainsErrors = 3,
  kCertificateRevoked = 4,
  kCertificateIsInvalid = 5,
  kServerUnreachable = 6,
  kTimeout = 7,
  kHttpInvalidServerResponse = 8,
  kConnectionAborted = 9,
  kConnectionReset = 10,
  kDisconnected = 11,
  kCannotConnect = 12,
  kHostNameNotResolved = 13,
  kOperationCanceled = 14,
  kRedirectFailed = 15,
  kUnexpectedError = 16,
  kValidAuthenticationCredentialsRequired = 17,
  kValidProxyAuthenticationRequired = 18,
};

// Why a page of Edge's engine failed to load, when the view should say so with our notice:
// nothing for a load replaced by another, or a server that answered with a refusal of its own.
std::optional<LoadTrouble> TroubleOfEdgeError(int web_error_status);

}  // namespace talvo
