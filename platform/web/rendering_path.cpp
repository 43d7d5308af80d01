#include "platform/web/rendering_path.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <string>

#include "core/debug_trace.h"
#include "core/utf.h"

namespace talvo {

std::optional<Acceleration> ParseAcceleration(std::string_view text) {
  const std::string word = AsciiLower(text);
  if (word == "auto") return Acceleration::kAuto;
  if (word == "on") return Acceleration::kOn;
  if (word == "off") return Acceleration::kOff;
  return std::nullopt;
}

bool IsSoftwareRenderer(std::string_view gl_renderer) {
  static constexpr std::array<std::string_view, 6> kSoftware = {
      "llvmpipe",    "softpipe",           "swrast", "software rasterizer",
      "swiftshader", "basic render driver"};
  const std::string renderer = AsciiLower(gl_renderer);
  return std::any_of(kSoftware.begin(), kSoftware.end(), [&renderer](std::string_view name) {
    return renderer.find(name) != std::string::npos;
  });
}

bool UseAcceleratedCompositing(Acceleration setting,
                               const std::optional<std::string>& gl_renderer) {
  switch (setting) {
    case Acceleration::kOn:
      return true;
    case Acceleration::kOff:
      return false;
    case Acceleration::kAuto:
      break;
  }
  return gl_renderer.has_value() && !gl_renderer->empty() && !IsSoftwareRenderer(*gl_renderer);
}

}  // namespace talvo
