#include "platform/skin.h"

#include <charconv>

#include "platform/settings_lines.h"

namespace talvo {
namespace {

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
  // A skin has no sections; keys count wherever they stand.
  for (const SettingLine& line : ReadSettingLines(text)) {
    const std::optional<std::uint32_t> colour = ParseColour(line.value);
    if (!colour) continue;
    std::uint32_t* target = line.key == "window"        ? &scheme.window
                            : line.key == "text"        ? &scheme.text
                            : line.key == "button"      ? &scheme.button
                            : line.key == "button_text" ? &scheme.button_text
                                                        : nullptr;
    if (target == nullptr) continue;
    *target = *colour;
    any = true;
  }
  if (!any) return std::nullopt;
  return scheme;
}

}  // namespace talvo
