// The program's own icon, carried in the executable: every window shows it, installed or not.
#pragma once

#include <cstddef>
#include <span>

class wxIconBundle;

namespace talvo {

struct EmbeddedPng {
  const unsigned char* data;
  std::size_t size;
};

// The window icon at 16, 32, 48 and 64 pixels (generated from packaging/icons/talvo.svg).
std::span<const EmbeddedPng> AppIconPngs();

// The same, as the icons of a window; decoded once.
const wxIconBundle& AppIcons();

// The launcher entry's id, which names the icon too.
inline constexpr const char* kApplicationId = "example.talvo.Client";

// How the desktop knows the client: the product's name, and the launcher entry's id, which the
// page engine's media player entry then carries in its bus name. Once, before the first view.
void AnnounceApplication();

}  // namespace talvo
