// The application folder (config.h, app_folder_*.cpp): where the client keeps what it keeps.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#ifdef _WIN32
#include <windows.h>
#else
#include <unistd.h>
#endif

#include "platform/config.h"
#include "tests/support/scratch.h"

namespace talvo {
namespace {

void SetEnv(const char* name, const std::filesystem::path& value) {
#ifdef _WIN32
  _putenv_s(name, value.string().c_str());  // an empty value removes it
#else
  if (value.empty()) {
    ::unsetenv(name);
  } else {
    ::setenv(name, value.c_str(), 1);
  }
#endif
}

std::filesystem::path ExecutableFolder() {
#ifdef _WIN32
  wchar_t path[MAX_PATH];
  return std::filesystem::path(std::wstring(path, GetModuleFileNameW(nullptr, path, MAX_PATH)))
      .parent_path();
#else
  return std::filesystem::read_symlink("/proc/self/exe").parent_path();
#endif
}

TEST(AppFolder, EnvironmentVariableThenTheExecutableFolderThenThePerUserOne) {
  const testing::TempFolder work("app-folder");
  SetEnv("TALVO_APP_DIR", work / "chosen");
  EXPECT_EQ(AppFolder(), work / "chosen");
  SetEnv("TALVO_APP_DIR", "");
  // The test binary's own folder is writable in a build tree.
  EXPECT_EQ(AppFolder(), ExecutableFolder());
  // A folder that takes no file (here: none at all) gives the per-user one, made.
#ifdef _WIN32
  SetEnv("APPDATA", work / "roaming");
  const std::filesystem::path per_user = work / "roaming" / "talvo";
#else
  SetEnv("XDG_DATA_HOME", work / "data");
  const std::filesystem::path per_user = work / "data" / "talvo";
#endif
  EXPECT_EQ(AppFolderFor(work / "missing"), per_user);
  EXPECT_TRUE(std::filesystem::is_directory(per_user));
  // One that cannot be made (a file is in the way) is said.
  std::filesystem::remove_all(per_user);
  std::ofstream(per_user) << "x";
  ::testing::internal::CaptureStderr();
  AppFolderFor(work / "missing");
  EXPECT_NE(::testing::internal::GetCapturedStderr().find("could not be made"), std::string::npos);
  SetEnv("APPDATA", "");
  SetEnv("XDG_DATA_HOME", "");
}

}  // namespace
}  // namespace talvo
