#include <unistd.h>

#include <cstdlib>
#include <system_error>

#include "platform/config.h"

namespace talvo {

std::filesystem::path AppFolder() {
  if (const char* dir = std::getenv("TALVO_APP_DIR"); dir != nullptr && *dir != '\0') {
    return dir;
  }
  return AppFolderFor(ThisProgram().parent_path());
}

std::filesystem::path ThisProgram() {
  std::error_code error;
  return std::filesystem::read_symlink("/proc/self/exe", error);
}

std::filesystem::path AppFolderFor(const std::filesystem::path& exe_folder) {
  std::error_code error;
  if (!exe_folder.empty() && ::access(exe_folder.c_str(), W_OK) == 0) return exe_folder;

  std::filesystem::path data;
  if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg != nullptr && *xdg == '/') {
    data = xdg;
  } else if (const char* home = std::getenv("HOME"); home != nullptr && *home != '\0') {
    data = std::filesystem::path(home) / ".local" / "share";
  } else {
    data = std::filesystem::temp_directory_path(error);
  }
  const std::filesystem::path folder = data / "talvo";
  if (!std::filesystem::create_directories(folder, error) && error) {
    FolderNotMade(folder, error);
    return folder;
  }
  std::filesystem::permissions(folder, std::filesystem::perms::owner_all, error);
  return folder;
}

}  // namespace talvo
