// Where the client keeps its files, and what talvo.ini may change. No GUI code here.
#pragma once

#include <chrono>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>

#include "platform/web/rendering_path.h"

namespace talvo {

struct Config {
  // Host values are "host[:port]", or a full "http://" / "https://" prefix.
  std::u16string primary_host = u"user.talvo.example";
  std::u16string tv_host = u"tv.talvo.example";
  std::u16string channel_host = u"live.talvo.example";
  std::u16string product_site = u"www.talvo.example";
  std::u16string report_email = u"support@talvo.example";
  std::chrono::milliseconds connect_timeout{5000};
  std::chrono::milliseconds request_timeout{20000};
  Acceleration acceleration = Acceleration::kAuto;
  // [network] proxy, for the client's own requests and the pages alike: "system", "none", or
  // "http://host:port" / "socks5://host:port" (core/proxy_use.h says what each asks for).
  // Anything else keeps "system".
  std::string proxy = "system";
};

// The proxy setting `value` stands for, as Config keeps it; nothing when it is none of them.
std::optional<std::string> ParseProxy(std::string_view value);

// Reads talvo.ini text: "[section]" lines, "key = value" lines, full-line comments starting with
// ";" or "#". Unknown keys and malformed lines are ignored; a missing key keeps its default.
Config ParseConfig(std::string_view ini_text);

// talvo.ini in `folder` (its first 64 KiB); the defaults when it is missing or unreadable.
Config LoadConfig(const std::filesystem::path& folder);

// TALVO_APP_DIR when set; else the executable's folder when writable; else the per-user data
// folder, created when missing: $XDG_DATA_HOME/talvo (by default ~/.local/share/talvo) on Linux,
// %APPDATA%\talvo on Windows.
std::filesystem::path AppFolder();
// The same choice for an executable in `exe_folder`, TALVO_APP_DIR aside.
std::filesystem::path AppFolderFor(const std::filesystem::path& exe_folder);
// Said on stderr, as the log that would say it lives in that folder: nothing of the viewer's can
// be kept this run.
void FolderNotMade(const std::filesystem::path& folder, const std::error_code& error);
// The running program's file; empty when the system does not say.
std::filesystem::path ThisProgram();

}  // namespace talvo
