#include "platform/skin_file.h"

#include <charconv>
#include <sstream>
#include <string>

namespace talvo {
namespace {

std::string_view Trim(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r')) {
    text.remove_suffix(1);
  }
  return text;
}

std::optional<std::uint32_t> ParseColour(std::string_view value) {
  if (value.size() != 7 || value.front() != '#') return std::nullopt;
  std::uint32_t colour = 0;
  const auto [end, error] = std::from_chars(value.data() + 1, value.data() + 7, colour, 16);
  if (error != std::errc() || end != value.data() + 7) return std::nullopt;
  return colour;
}

}  // namespace

std::optional<SkinScheme> ParseSkinFile(std::string_view text) {
  SkinScheme scheme;
  bool any = false;
  std::istringstream lines{std::string(text)};
  for (std::string raw; std::getline(lines, raw);) {
    const std::string_view line = Trim(raw);
    const std::size_t equals = line.find('=');
    if (line.empty() || line.front() == ';' || equals == std::string_view::npos) continue;
    const std::string_view key = Trim(line.substr(0, equals));
    const std::optional<std::uint32_t> colour = ParseColour(Trim(line.substr(equals + 1)));
    if (!colour) continue;
    std::uint32_t* target = key == "window"        ? &scheme.window
                            : key == "text"        ? &scheme.text
                            : key == "button"      ? &scheme.button
                            : key == "button_text" ? &scheme.button_text
                                                   : nullptr;
    if (target == nullptr) continue;
    *target = *colour;
    any = true;
  }
  if (!any) return std::nullopt;
  return scheme;
}

}  // namespace talvo
