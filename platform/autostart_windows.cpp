#include <windows.h>

#include <string>

#include "core/debug_trace.h"
#include "platform/autostart.h"
#include "platform/config.h"

namespace talvo {
namespace {

constexpr const wchar_t* kRunKey = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr const wchar_t* kValue = L"talvo";

}  // namespace

bool AutostartOn() {
  return ::RegGetValueW(HKEY_CURRENT_USER, kRunKey, kValue, RRF_RT_REG_SZ, nullptr, nullptr,
                        nullptr) == ERROR_SUCCESS;
}

bool SetAutostart(bool on) {
  HKEY key = nullptr;
  LSTATUS status = ::RegCreateKeyExW(HKEY_CURRENT_USER, kRunKey, 0, nullptr, 0, KEY_SET_VALUE,
                                     nullptr, &key, nullptr);
  if (status == ERROR_SUCCESS) {
    if (on) {
      const std::wstring command = AutostartCommand(ThisProgram());
      status =
          ::RegSetValueExW(key, kValue, 0, REG_SZ, reinterpret_cast<const BYTE*>(command.c_str()),
                           static_cast<DWORD>((command.size() + 1) * sizeof(wchar_t)));
    } else {
      status = ::RegDeleteValueW(key, kValue);
      if (status == ERROR_FILE_NOT_FOUND) status = ERROR_SUCCESS;
    }
    ::RegCloseKey(key);
  }
  if (status != ERROR_SUCCESS) {
    DebugTrace("autostart", std::string("the Run value could not be ") +
                                (on ? "written" : "removed") + ": error " + std::to_string(status));
  }
  return status == ERROR_SUCCESS;
}

}  // namespace talvo
