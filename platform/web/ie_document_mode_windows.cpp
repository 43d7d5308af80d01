#include "platform/web/ie_document_mode.h"

#include <windows.h>

#include "core/debug_trace.h"

namespace talvo {
namespace {

void TraceFailure(const char* step, LSTATUS status) {
  DebugTrace("page", std::string("IE 11 mode not set: ") + step + " failed with error " +
                         std::to_string(status));
}

}  // namespace

bool SetIeDocumentMode(const std::wstring& key, const std::wstring& program, unsigned long mode) {
  HKEY opened = nullptr;
  LSTATUS status = RegCreateKeyExW(HKEY_CURRENT_USER, key.c_str(), 0, nullptr, 0,
                                   KEY_SET_VALUE | KEY_QUERY_VALUE, nullptr, &opened, nullptr);
  if (status != ERROR_SUCCESS) {
    TraceFailure("making the emulation key", status);
    return false;
  }
  const DWORD value = mode;
  status = RegSetValueExW(opened, program.c_str(), 0, REG_DWORD,
                          reinterpret_cast<const BYTE*>(&value), sizeof(value));
  DWORD read = 0;
  DWORD size = sizeof(read);
  if (status == ERROR_SUCCESS) {
    status =
        RegGetValueW(opened, nullptr, program.c_str(), RRF_RT_REG_DWORD, nullptr, &read, &size);
  }
  RegCloseKey(opened);
  if (status != ERROR_SUCCESS) {
    TraceFailure("writing the program's value", status);
    return false;
  }
  if (read != value) {
    DebugTrace("page", "IE 11 mode not set: the value reads back as " + std::to_string(read));
    return false;
  }
  return true;
}

}  // namespace talvo
