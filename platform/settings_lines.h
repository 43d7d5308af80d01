// The two settings files the user may edit by hand, talvo.ini and real.she, share one reading:
// "key = value" lines, optional "[section]" lines, full-line comments starting with ";" or "#",
// blanks around keys and values ignored, any line end. No GUI code here.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace talvo {

struct SettingLine {
  std::string_view section;  // the last "[section]" above the line, trimmed; empty before any
  std::string_view key;
  std::string_view value;
};

// Every "key = value" line of `text` in order (views into `text`); a line without "=" or with an
// empty key is left out.
std::vector<SettingLine> ReadSettingLines(std::string_view text);

// The head of a settings file: a real one is a few lines, and a huge or foreign file must not
// hold up start-up. Nothing when the file cannot be opened.
inline constexpr std::size_t kMaxSettingsFileBytes = 64 * 1024;
std::optional<std::string> ReadSettingsFileHead(const std::filesystem::path& file);

}  // namespace talvo
