#include "platform/autostart.h"

namespace talvo {
namespace {

// An argument of Exec, quoted as the desktop entry specification asks: inside double quotes a
// backslash, a double quote, a backtick and a dollar sign are escaped; and since the value of a
// key is itself escaped, each backslash is written twice again. A percent sign is doubled, never
// read as a field code.
std::string ExecArgument(const std::string& text) {
  std::string quoted = "\"";
  for (const char c : text) {
    if (c == '"' || c == '`' || c == '$') quoted += "\\\\";
    if (c == '\\') quoted += "\\\\\\";
    if (c == '%') quoted += '%';
    quoted += c;
  }
  return quoted + "\"";
}

}  // namespace

std::string AutostartEntry(const std::filesystem::path& program,
                           const std::optional<std::filesystem::path>& app_folder) {
  std::string exec;
  if (app_folder) exec = "env " + ExecArgument("TALVO_APP_DIR=" + app_folder->string()) + " ";
  exec += ExecArgument(program.string()) + " " + kTrayArgument;
  return "[Desktop Entry]\n"
         "Type=Application\n"
         "Name=Talvo HD\n"
         "Name[zh_CN]=塔沃高清影音\n"
         "Comment=Starts the TV and radio client in the tray\n"
         "Comment[zh_CN]=开机时在托盘中启动塔沃高清影音\n"
         "Exec=" +
         exec +
         "\n"
         "Icon=example.talvo.Client\n"
         "Terminal=false\n"
         "X-GNOME-Autostart-enabled=true\n";
}

std::wstring AutostartCommand(const std::filesystem::path& program) {
  return L"\"" + program.wstring() + L"\" " +
         std::wstring(kTrayArgument, kTrayArgument + std::char_traits<char>::length(kTrayArgument));
}

}  // namespace talvo
