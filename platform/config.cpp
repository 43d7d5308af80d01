#include "platform/config.h"

#include <charconv>
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

}  // namespace talvo
