// What a proxy setting, as the configuration keeps it, asks for: the one reading of it for the
// client's own requests and for both engines' pages.
#pragma once

#include <string_view>

namespace talvo {

// "system" (or nothing set): the desktop's own setting; for the client's requests, curl's
// reading of the http_proxy family of environment variables. "none": no proxy, whatever the
// environment says. Anything else is the proxy's URL ("socks5://host:port").
enum class ProxyUse { kSystem, kNone, kAddress };

inline ProxyUse UseOf(std::string_view proxy) {
  if (proxy.empty() || proxy == "system") return ProxyUse::kSystem;
  return proxy == "none" ? ProxyUse::kNone : ProxyUse::kAddress;
}

}  // namespace talvo
