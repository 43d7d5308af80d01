#include <windows.h>

#include <string>
#include <vector>

#include "core/stored_file.h"
#include "core/utf.h"

namespace talvo {
namespace {

std::wstring Wide(std::u16string_view text) { return std::wstring(text.begin(), text.end()); }

std::string ErrorText(DWORD error) { return "error " + std::to_string(error); }

SaveTrouble TroubleOf(DWORD error) {
  switch (error) {
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
      return SaveTrouble::kDiskFull;
    case ERROR_ACCESS_DENIED:
    case ERROR_WRITE_PROTECT:
      return SaveTrouble::kNotAllowed;
    case ERROR_PATH_NOT_FOUND:
    case ERROR_FILE_NOT_FOUND:
      return SaveTrouble::kNoFolder;
    default:
      return SaveTrouble::kOther;
  }
}

// The temporary file, opened for this writer alone: another client writing at the same moment
// waits for it, as the lock does on Linux. Invalid on failure.
HANDLE OpenTempAlone(const std::filesystem::path& temp) {
  for (int attempt = 0; attempt < 100; ++attempt) {
    const HANDLE file = CreateFileW(temp.c_str(), GENERIC_WRITE | DELETE, 0, nullptr, CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE || GetLastError() != ERROR_SHARING_VIOLATION) return file;
    Sleep(10);
  }
  return INVALID_HANDLE_VALUE;
}

// Renamed over the target through the handle still held: no other writer can touch these bytes
// before they are the file.
bool RenameHeld(HANDLE file, const std::filesystem::path& target) {
  const std::wstring name = std::filesystem::absolute(target).wstring();
  std::vector<char> buffer(sizeof(FILE_RENAME_INFO) + name.size() * sizeof(wchar_t));
  auto* info = reinterpret_cast<FILE_RENAME_INFO*>(buffer.data());
  info->ReplaceIfExists = TRUE;
  info->RootDirectory = nullptr;
  info->FileNameLength = static_cast<DWORD>(name.size() * sizeof(wchar_t));
  std::copy(name.begin(), name.end(), info->FileName);
  return SetFileInformationByHandle(file, FileRenameInfo, info,
                                    static_cast<DWORD>(buffer.size())) != 0;
}

}  // namespace

// Text that fits the ANSI code page is stored in it, as it always was, so that files stay as
// they were and older copies of the client read them. Anything else would be stored as "?" and
// sign in with the wrong password: such text is stored as UTF-8, marked at the file's start.
std::string ToStoredText(std::u16string_view text) {
  if (GetACP() == CP_UTF8) return Utf16ToUtf8(text);
  const std::wstring wide = Wide(text);
  BOOL lost = FALSE;
  const int size = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.data(),
                                       static_cast<int>(wide.size()), nullptr, 0, nullptr, &lost);
  if (lost) return "\xEF\xBB\xBF" + Utf16ToUtf8(text);
  std::string bytes(static_cast<std::size_t>(size), '\0');
  WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.data(), static_cast<int>(wide.size()),
                      bytes.data(), size, nullptr, nullptr);
  return bytes;
}

std::u16string FromStoredText(std::string_view bytes, bool marked_utf8) {
  if (marked_utf8) return Utf8ToUtf16(bytes);
  const int size =
      MultiByteToWideChar(CP_ACP, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(size), L'\0');
  MultiByteToWideChar(CP_ACP, 0, bytes.data(), static_cast<int>(bytes.size()), wide.data(), size);
  return std::u16string(wide.begin(), wide.end());
}

SaveTrouble ReplaceFileWhole(const std::filesystem::path& temp, const std::filesystem::path& target,
                             std::string_view content, std::string& why) {
  const HANDLE file = OpenTempAlone(temp);
  if (file == INVALID_HANDLE_VALUE) {
    const DWORD error = GetLastError();
    why = "cannot open it: " + ErrorText(error);
    return TroubleOf(error);
  }
  DWORD written = 0;
  const bool replaced =
      WriteFile(file, content.data(), static_cast<DWORD>(content.size()), &written, nullptr) &&
      written == content.size() && FlushFileBuffers(file) && RenameHeld(file, target);
  const DWORD error = GetLastError();
  if (!replaced) {
    why = "not written: " + ErrorText(error);
    FILE_DISPOSITION_INFO remove{TRUE};
    SetFileInformationByHandle(file, FileDispositionInfo, &remove, sizeof remove);
  }
  CloseHandle(file);
  return replaced ? SaveTrouble::kNone : TroubleOf(error);
}

std::optional<std::string> ReadFileHead(const std::filesystem::path& path, std::size_t limit,
                                        std::string& why) {
  const HANDLE file = CreateFileW(path.c_str(), GENERIC_READ,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    const DWORD error = GetLastError();
    // No file is the usual first start; a folder of that name is as good as none.
    if (error != ERROR_FILE_NOT_FOUND && error != ERROR_PATH_NOT_FOUND &&
        error != ERROR_ACCESS_DENIED) {
      why = "error " + std::to_string(error);
    }
    return std::nullopt;
  }
  LARGE_INTEGER size{};
  std::string bytes(HeadRoom(GetFileSizeEx(file, &size) ? size.QuadPart : 0, limit), '\0');
  std::size_t filled = 0;
  DWORD got = 0;
  while (filled < limit) {
    if (filled == bytes.size()) bytes.resize(std::min(limit, 2 * bytes.size()));
    if (!ReadFile(file, bytes.data() + filled, static_cast<DWORD>(bytes.size() - filled), &got,
                  nullptr)) {
      // What was read before a failure is no file: the caller must not take it for the whole.
      why = "read: " + ErrorText(GetLastError());
      CloseHandle(file);
      return std::nullopt;
    }
    if (got == 0) break;
    filled += got;
  }
  bytes.resize(filled);
  bytes.shrink_to_fit();
  CloseHandle(file);
  return bytes;
}

}  // namespace talvo
