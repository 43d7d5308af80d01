#include "platform/config.h"

#include <unistd.h>

#include <algorithm>
#include <charconv>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <system_error>

#include "core/utf.h"

namespace talvo {
namespace {

constexpr std::size_t kMaxConfigBytes = 64 * 1024;

std::string_view Trim(std::string_view text) {
  const auto is_space = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
  while (!text.empty() && is_space(text.front())) text.remove_prefix(1);
  while (!text.empty() && is_space(text.back())) text.remove_suffix(1);
  return text;
}

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
  std::string section;
  std::istringstream lines{std::string(ini_text)};
  for (std::string raw; std::getline(lines, raw);) {
    const std::string_view line = Trim(raw);
    if (line.empty() || line.front() == ';' || line.front() == '#') continue;
    if (line.front() == '[' && line.back() == ']') {
      section = Trim(line.substr(1, line.size() - 2));
      continue;
    }
    const std::size_t equals = line.find('=');
    if (equals == std::string_view::npos) continue;
    const std::string_view key = Trim(line.substr(0, equals));
    const std::string_view value = Trim(line.substr(equals + 1));
    if (section == "service") {
      if (key == "primary_host") SetText(value, config.primary_host);
      if (key == "tv_host") SetText(value, config.tv_host);
      if (key == "channel_host") SetText(value, config.channel_host);
      if (key == "product_site") SetText(value, config.product_site);
      if (key == "report_email") SetText(value, config.report_email);
    } else if (section == "network") {
      if (key == "connect_timeout_ms") SetMilliseconds(value, config.connect_timeout);
      if (key == "request_timeout_ms") SetMilliseconds(value, config.request_timeout);
    }
  }
  return config;
}

Config LoadConfig(const std::filesystem::path& folder) {
  std::ifstream in(folder / "talvo.ini", std::ios::binary);
  if (!in) return Config{};
  // A real file is a few lines; a huge or foreign one must not hold up start-up.
  std::string text(kMaxConfigBytes, '\0');
  in.read(text.data(), static_cast<std::streamsize>(text.size()));
  text.resize(static_cast<std::size_t>(std::max<std::streamsize>(in.gcount(), 0)));
  return ParseConfig(text);
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
