#include <cstdlib>
#include <system_error>

#include "core/debug_trace.h"
#include "core/stored_file.h"
#include "platform/autostart.h"
#include "platform/config.h"

namespace talvo {
namespace {

std::filesystem::path AutostartFile() {
  std::filesystem::path config;
  if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg != nullptr && *xdg == '/') {
    config = xdg;
  } else if (const char* home = std::getenv("HOME"); home != nullptr && *home != '\0') {
    config = std::filesystem::path(home) / ".config";
  }
  return config.empty() ? config : config / "autostart" / "talvo.desktop";
}

}  // namespace

bool AutostartOn() {
  std::error_code error;
  const std::filesystem::path file = AutostartFile();
  return !file.empty() && std::filesystem::exists(file, error);
}

bool SetAutostart(bool on) {
  const std::filesystem::path file = AutostartFile();
  std::error_code error;
  if (file.empty()) {
    DebugTrace("autostart", "no configuration folder: neither XDG_CONFIG_HOME nor HOME is set");
    return false;
  }
  if (!on) {
    std::filesystem::remove(file, error);
    if (error)
      DebugTrace("autostart", "could not remove " + file.string() + ": " + error.message());
    return !error;
  }
  std::filesystem::create_directories(file.parent_path(), error);
  const char* folder = std::getenv("TALVO_APP_DIR");
  std::string why;
  const SaveTrouble trouble = ReplaceFileWhole(
      file.string() + ".new", file,
      AutostartEntry(ThisProgram(), folder != nullptr && *folder != '\0'
                                        ? std::optional<std::filesystem::path>(folder)
                                        : std::nullopt),
      why);
  if (trouble != SaveTrouble::kNone)
    DebugTrace("autostart", "could not write " + file.string() + ": " + why);
  return trouble == SaveTrouble::kNone;
}

}  // namespace talvo
