// 开机启动: the client starts with the desktop, in the tray (`--tray`). On Linux an XDG autostart
// entry, `talvo.desktop` under $XDG_CONFIG_HOME/autostart (~/.config/autostart); on Windows the
// value "talvo" under HKCU\Software\Microsoft\Windows\CurrentVersion\Run. Turning it off removes
// them. One implementation a system; the entry's text is a plain function.
#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace talvo {

inline constexpr const char* kTrayArgument = "--tray";

// The autostart entry that starts `program` in the tray; with `app_folder`, in that application
// folder (TALVO_APP_DIR), as the running client was started.
std::string AutostartEntry(const std::filesystem::path& program,
                           const std::optional<std::filesystem::path>& app_folder);
// The Run value's command line for the same.
std::wstring AutostartCommand(const std::filesystem::path& program);

bool AutostartOn();
// Writes or removes this program's entry; false, with a line in talvo.log, when that failed.
bool SetAutostart(bool on);

}  // namespace talvo
