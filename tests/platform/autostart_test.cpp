#include "platform/autostart.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

#include "tests/support/scratch.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace talvo {
namespace {

// 开机启动 on and off where the desktop looks: on Linux the entry in a configuration folder of the
// test's own, which desktop-file-validate accepts; on Windows the Run value (Wine's registry).
TEST(Autostart, OnWritesTheEntryOffRemovesItAndOffTwiceIsNoFailure) {
  std::string command;
#ifdef _WIN32
  wchar_t value[1024] = {};
  DWORD size = sizeof value;
  const auto read = [&] {
    return RegGetValueW(HKEY_CURRENT_USER, L"Software\\Microsoft\\Windows\\CurrentVersion\\Run",
                        L"talvo", RRF_RT_REG_SZ, nullptr, value, &size) == ERROR_SUCCESS;
  };
#else
  const testing::TempFolder config("autostart");
  ASSERT_EQ(::setenv("XDG_CONFIG_HOME", config.path().c_str(), 1), 0);
  const std::filesystem::path entry = config.path() / "autostart" / "talvo.desktop";
  const auto read = [&] {
    command = testing::CommandOutput("desktop-file-validate '" + entry.string() +
                                     "' 2>&1 && grep ^Exec= '" + entry.string() + "'");
    return std::filesystem::exists(entry);
  };
#endif
  ASSERT_FALSE(AutostartOn());
  ASSERT_TRUE(SetAutostart(true));
  EXPECT_TRUE(AutostartOn());
  ASSERT_TRUE(read());
#ifdef _WIN32
  command = std::filesystem::path(value).string();
#endif
  EXPECT_TRUE(command.starts_with("Exec=\"/") || command.starts_with("\"")) << command;
  EXPECT_TRUE(command.ends_with("\" --tray\n") || command.ends_with(".exe\" --tray")) << command;
  ASSERT_TRUE(SetAutostart(false));
  EXPECT_FALSE(AutostartOn());
  EXPECT_FALSE(read());
  EXPECT_TRUE(SetAutostart(false));
}

// A folder with spaces, quotes, a dollar, a backslash and a percent sign stays one argument.
TEST(Autostart, AnyProgramPathStaysOneArgumentOfExec) {
  EXPECT_NE(AutostartEntry("/opt/my tv/\"x\"$y\\z%/talvo", "/data/a b")
                .find("\nExec=env \"TALVO_APP_DIR=/data/a b\" "
                      "\"/opt/my tv/\\\\\"x\\\\\"\\\\$y\\\\\\\\z%%/talvo\" --tray\n"),
            std::string::npos);
}

}  // namespace
}  // namespace talvo
