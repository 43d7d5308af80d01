#include <shlobj.h>
#include <windows.h>

#include <cwchar>
#include <system_error>

#include "platform/config.h"

namespace talvo {
namespace {

// Program Files is not writable for an ordinary user: a file made there and gone at once tells.
bool Writable(const std::filesystem::path& folder) {
  const HANDLE probe =
      CreateFileW((folder / L".talvo-write-test").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                  FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
  if (probe == INVALID_HANDLE_VALUE) return false;
  CloseHandle(probe);
  return true;
}

// %APPDATA%: the environment's when set (as the system sets it), else the shell's.
std::filesystem::path RoamingAppData() {
  if (const wchar_t* set = _wgetenv(L"APPDATA"); set != nullptr && *set != L'\0') return set;
  PWSTR known = nullptr;
  std::filesystem::path folder;
  if (SHGetKnownFolderPath(FOLDERID_RoamingAppData, 0, nullptr, &known) == S_OK) folder = known;
  CoTaskMemFree(known);
  return folder.empty() ? std::filesystem::temp_directory_path() : folder;
}

}  // namespace

std::filesystem::path AppFolder() {
  if (const wchar_t* dir = _wgetenv(L"TALVO_APP_DIR"); dir != nullptr && *dir != L'\0') {
    return dir;
  }
  return AppFolderFor(ThisProgram().parent_path());
}

std::filesystem::path ThisProgram() {
  std::wstring exe(MAX_PATH, L'\0');
  DWORD length = 0;
  while ((length = GetModuleFileNameW(nullptr, exe.data(), static_cast<DWORD>(exe.size()))) ==
         exe.size()) {
    exe.resize(exe.size() * 2);
  }
  exe.resize(length);
  return exe;
}

std::filesystem::path AppFolderFor(const std::filesystem::path& exe_folder) {
  if (!exe_folder.empty() && Writable(exe_folder)) return exe_folder;
  std::error_code error;
  const std::filesystem::path folder = RoamingAppData() / L"talvo";
  if (!std::filesystem::create_directories(folder, error) && error) FolderNotMade(folder, error);
  return folder;
}

}  // namespace talvo
