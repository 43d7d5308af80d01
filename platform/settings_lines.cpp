#include "platform/settings_lines.h"

#include <algorithm>

#include "core/debug_trace.h"
#include "core/stored_file.h"

namespace talvo {
namespace {

std::string_view Trim(std::string_view text) {
  const auto is_space = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
  while (!text.empty() && is_space(text.front())) text.remove_prefix(1);
  while (!text.empty() && is_space(text.back())) text.remove_suffix(1);
  return text;
}

}  // namespace

std::vector<SettingLine> ReadSettingLines(std::string_view text) {
  std::vector<SettingLine> settings;
  std::string_view section;
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    const std::string_view line = Trim(text.substr(0, end));
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    if (line.empty() || line.front() == ';' || line.front() == '#') continue;
    if (line.front() == '[' && line.back() == ']') {
      section = Trim(line.substr(1, line.size() - 2));
      continue;
    }
    const std::size_t equals = line.find('=');
    if (equals == std::string_view::npos) continue;
    const std::string_view key = Trim(line.substr(0, equals));
    if (key.empty()) continue;
    settings.push_back({section, key, Trim(line.substr(equals + 1))});
  }
  return settings;
}

std::optional<std::string> ReadSettingsFileHead(const std::filesystem::path& file) {
  std::string why;
  std::optional<std::string> text = ReadFileHead(file, kMaxSettingsFileBytes, why);
  if (!why.empty()) DebugTrace("settings", file.string() + ": " + why);
  return text;
}

}  // namespace talvo
