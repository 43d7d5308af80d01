// The skin scheme and the "real.she" file that can replace the default one. The file is UTF-8
// text, one "key = #RRGGBB" a line, ";" starting a comment line. Keys: window, text, button,
// button_text. A file without one valid key is not a skin.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace talvo {

struct SkinScheme {
  std::uint32_t window = 0xE8EEF5;  // 0xRRGGBB
  std::uint32_t text = 0x1B2733;
  std::uint32_t button = 0xD5E1EE;
  std::uint32_t button_text = 0x10202E;
};

// The default scheme with every valid line of the file applied; nothing when no line is valid.
std::optional<SkinScheme> ParseSkinFile(std::string_view text);

}  // namespace talvo
