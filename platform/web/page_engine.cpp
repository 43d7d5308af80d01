#include "platform/web/page_engine.h"

#include <algorithm>
#include <array>

#include "core/proxy_use.h"

namespace talvo {
namespace {

// Whether `arguments` names the switch `name` ("--proxy-server"), with or without a value.
bool NamesSwitch(std::string_view arguments, std::string_view name) {
  for (size_t at = arguments.find(name); at != std::string_view::npos;
       at = arguments.find(name, at + 1)) {
    const bool starts = at == 0 || arguments[at - 1] == ' ' || arguments[at - 1] == '\t';
    const size_t end = at + name.size();
    const bool ends = end == arguments.size() || arguments[end] == '=' || arguments[end] == ' ' ||
                      arguments[end] == '\t';
    if (starts && ends) return true;
  }
  return false;
}

}  // namespace

PageEngine ChoosePageEngine(bool edge_runtime_installed, bool ie_control_available) {
  if (edge_runtime_installed) return PageEngine::kEdge;
  return ie_control_available ? PageEngine::kInternetExplorer : PageEngine::kNone;
}

std::string_view PageEngineName(PageEngine engine) {
  switch (engine) {
    case PageEngine::kEdge:
      return "Edge's engine (WebView2)";
    case PageEngine::kInternetExplorer:
      return "the IE control in IE 11 mode";
    case PageEngine::kNone:
      break;
  }
  return "none: the views show a notice";
}

std::string EdgeBrowserArguments(std::string_view users_own, std::string_view proxy) {
  std::string arguments(users_own);
  const auto add = [&](std::string_view name, std::string_view value) {
    if (NamesSwitch(users_own, name)) return;
    if (!arguments.empty() && arguments.back() != ' ') arguments += ' ';
    arguments.append(name);
    if (!value.empty()) arguments.append("=").append(value);
  };
  add("--autoplay-policy", "no-user-gesture-required");
  // The engine reads one way to its proxy: a user's own way of any kind wins.
  const bool users_proxy = std::ranges::any_of(
      std::array{"--proxy-server", "--no-proxy-server", "--proxy-pac-url", "--proxy-auto-detect"},
      [&](std::string_view name) { return NamesSwitch(users_own, name); });
  if (UseOf(proxy) != ProxyUse::kSystem && !users_proxy) {
    if (UseOf(proxy) == ProxyUse::kNone) {
      add("--no-proxy-server", "");
    } else {
      add("--proxy-server", proxy);
    }
  }
  return arguments;
}

std::optional<LoadTrouble> TroubleOfEdgeError(int web_error_status) {
  switch (static_cast<EdgeWebError>(web_error_status)) {
    case EdgeWebError::kOperationCanceled:
    case EdgeWebError::kValidAuthenticationCredentialsRequired:
      return std::nullopt;
    case EdgeWebError::kCertificateCommonNameIsIncorrect:
    case EdgeWebError::kCertificateExpired:
    case EdgeWebError::kClientCertificateContainsErrors:
    case EdgeWebError::kCertificateRevoked:
    case EdgeWebError::kCertificateIsInvalid:
      return LoadTrouble::kSecure;
    case EdgeWebError::kServerUnreachable:
    case EdgeWebError::kDisconnected:
      return LoadTrouble::kNoRoute;
    case EdgeWebError::kTimeout:
      return LoadTrouble::kTimedOut;
    case EdgeWebError::kConnectionAborted:
    case EdgeWebError::kConnectionReset:
      return LoadTrouble::kReset;
    case EdgeWebError::kCannotConnect:
      return LoadTrouble::kRefused;
    case EdgeWebError::kHostNameNotResolved:
      return LoadTrouble::kHostNotFound;
    default:
      return LoadTrouble::kOther;
  }
}

}  // namespace talvo
