#include "platform/web/load_trouble_webkit.h"

#include <webkit2/webkit2.h>

namespace talvo {

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

}  // namespace talvo
