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
#ifndef _WIN32
  const testing::TempFolder config("autostart");
  const std::string before = std::getenv("XDG_CONFIG_HOME") ? std::getenv("XDG_CONFIG_HOME") : "";
  ::setenv("XDG_CONFIG_HOME", config.path().c_str(), 1);
  struct Restore {
    std::string before;
    ~Restore() {
      before.empty() ? ::unsetenv("XDG_CONFIG_HOME")
                     : ::setenv("XDG_CONFIG_HOME", before.c_str(), 1);
    }
  } restore{before};
#endif
  ASSERT_FALSE(AutostartOn());
  ASSERT_TRUE(SetAutostart(true));
  EXPECT_TRUE(AutostartOn());
#ifdef _WIN32
  wchar_t command[1024] = {};
  DWORD size = sizeof command;
  ASSERT_EQ(RegGetValueW(HKEY_CURRENT_USER, L"Software\\Microsoft\\Windows\\CurrentVersion\\Run",
                         L"talvo", RRF_RT_REG_SZ, nullptr, command, &size),
            ERROR_SUCCESS);
  const std::wstring value = command;
  EXPECT_EQ(value.front(), L'"');
  EXPECT_NE(value.find(L".exe\" --tray"), std::wstring::npos);
#else
  const std::filesystem::path entry = config.path() / "autostart" / "talvo.desktop";
  int status = -1;
  EXPECT_EQ(testing::CommandOutput("desktop-file-validate '" + entry.string() + "' 2>&1", &status),
            "");
  EXPECT_EQ(status, 0);
  EXPECT_NE(testing::FileBytes(entry).find(" --tray\n"), std::string::npos);
#endif
  ASSERT_TRUE(SetAutostart(false));
  EXPECT_FALSE(AutostartOn());
  EXPECT_TRUE(SetAutostart(false));
}

// A folder with spaces, quotes, a dollar, a backslash and a percent sign stays one argument.
TEST(Autostart, AnyProgramPathStaysOneArgumentOfExec) {
  const std::string entry = AutostartEntry("/opt/my tv/\"x\"$y\\z%/talvo", "/data/a b");
  EXPECT_NE(entry.find("\nExec=env \"TALVO_APP_DIR=/data/a b\" "
                       "\"/opt/my tv/\\\\\"x\\\\\"\\\\$y\\\\\\\\z%%/talvo\" --tray\n"),
            std::string::npos)
      << entry;
#ifndef _WIN32
  const testing::TempFolder folder("autostart-entry");
  std::ofstream(folder.path() / "talvo.desktop") << entry;
  EXPECT_EQ(testing::CommandOutput("desktop-file-validate '" +
                                   (folder.path() / "talvo.desktop").string() + "' 2>&1"),
            "");
#endif
}

}  // namespace
}  // namespace talvo
