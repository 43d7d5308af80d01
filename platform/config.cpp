#include "platform/config.h"

#include <charconv>
#include <cstdio>
#include <system_error>

#include "core/debug_trace.h"
#include "core/utf.h"
#include "platform/settings_lines.h"

namespace talvo {
namespace {

void SetMilliseconds(std::string_view value, std::chrono::milliseconds& target) {
  long long ms = 0;
  const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), ms);
  if (error == std::errc() && end == value.data() + value.size() && ms > 0) {
    target = std::chrono::milliseconds(ms);
  }
}

void SetText(std::string_view value, std::u16string& target) {
  if (!value.empty()) target = Utf8ToUtf16(value);
}

}  // namespace

// A host (a name, an IPv4 address or a bracketed IPv6 one) and a port, nothing more: no user,
// path or spaces, which the engine and curl would each read their own way.
std::optional<std::string> ParseProxy(std::string_view value) {
  const std::string lower = AsciiLower(value);
  if (lower == "system" || lower == "none") return lower;
  std::string_view rest = lower;
  std::string scheme;
  for (const std::string_view prefix : {"http://", "socks5://"}) {
    if (rest.starts_with(prefix)) scheme = std::string(prefix);
  }
  if (scheme.empty()) return std::nullopt;
  rest.remove_prefix(scheme.size());
  if (rest.ends_with('/')) rest.remove_suffix(1);
  const std::size_t colon = rest.rfind(':');
  if (colon == std::string_view::npos || colon == 0) return std::nullopt;
  const std::string_view host = rest.substr(0, colon);
  const std::string_view port = rest.substr(colon + 1);
  unsigned number = 0;
  const auto [end, error] = std::from_chars(port.data(), port.data() + port.size(), number);
  if (error != std::errc() || end != port.data() + port.size() || number == 0 || number > 65535) {
    return std::nullopt;
  }
  const bool bracketed = host.size() > 2 && host.front() == '[' && host.back() == ']';
  for (const char c : bracketed ? host.substr(1, host.size() - 2) : host) {
    const bool allowed = (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '.' || c == '-' ||
                         (bracketed && c == ':');
    if (!allowed) return std::nullopt;
  }
  return scheme + std::string(rest);
}

Config ParseConfig(std::string_view ini_text) {
  Config config;
  for (const SettingLine& line : ReadSettingLines(ini_text)) {
    if (line.section == "service") {
      if (line.key == "primary_host") SetText(line.value, config.primary_host);
      if (line.key == "tv_host") SetText(line.value, config.tv_host);
      if (line.key == "channel_host") SetText(line.value, config.channel_host);
      if (line.key == "product_site") SetText(line.value, config.product_site);
      if (line.key == "report_email") SetText(line.value, config.report_email);
    } else if (line.section == "network") {
      if (line.key == "connect_timeout_ms") SetMilliseconds(line.value, config.connect_timeout);
      if (line.key == "request_timeout_ms") SetMilliseconds(line.value, config.request_timeout);
      if (line.key == "proxy") {
        const std::optional<std::string> proxy = ParseProxy(line.value);
        if (!proxy) DebugTrace("config", "proxy not understood; the system's is used");
        config.proxy = proxy.value_or("system");
      }
    } else if (line.section == "view") {
      if (line.key == "acceleration") {
        config.acceleration = ParseAcceleration(line.value).value_or(Acceleration::kAuto);
      }
    }
  }
  return config;
}

Config LoadConfig(const std::filesystem::path& folder) {
  const std::optional<std::string> text = ReadSettingsFileHead(folder / "talvo.ini");
  if (!text) DebugTrace("config", (folder / "talvo.ini").string() + " not read; the defaults hold");
  return text ? ParseConfig(*text) : Config{};
}

void FolderNotMade(const std::filesystem::path& folder, const std::error_code& error) {
  const std::string said = "the application folder " + folder.string() + " could not be made (" +
                           error.message() + "): settings, the account and the log are not kept";
  std::fprintf(stderr, "talvo: %s\n", said.c_str());
  DebugTrace("folder", said);
}

}  // namespace talvo
