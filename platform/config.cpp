#include "platform/config.h"

#include <unistd.h>

#include <charconv>
#include <cstdlib>
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

std::filesystem::path AppFolder() {
  if (const char* dir = std::getenv("TALVO_APP_DIR"); dir != nullptr && *dir != '\0') {
    return dir;
  }
  std::error_code error;
  const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", error);
  if (!error && ::access(exe.parent_path().c_str(), W_OK) == 0) return exe.parent_path();

  std::filesystem::path data;
  if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg != nullptr && *xdg == '/') {
    data = xdg;
  } else if (const char* home = std::getenv("HOME"); home != nullptr && *home != '\0') {
    data = std::filesystem::path(home) / ".local" / "share";
  } else {
    data = std::filesystem::temp_directory_path(error);
  }
  const std::filesystem::path folder = data / "talvo";
  std::filesystem::create_directories(folder, error);
  std::filesystem::permissions(folder, std::filesystem::perms::owner_all, error);
  return folder;
}

}  // namespace talvo
