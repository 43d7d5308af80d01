// What the Windows desktop offers the client, and what it leaves out.
#include <windows.h>

#include <string>

#include "core/debug_trace.h"
#include "core/utf.h"
#include "platform/desktop_session_ui.h"
#include "platform/web/page_engine.h"

namespace talvo {
namespace {

std::wstring Wide(const std::string& utf8) {
  const std::u16string text = Utf8ToUtf16(utf8);
  return std::wstring(text.begin(), text.end());
}

}  // namespace

// Edge's engine reads its switches from the environment when its first view is made: they are
// set here, before any window. The IE control has no drawing path to choose.
void PrepareTheDesktop(const Config& config) {
  const std::wstring name = Wide(kEdgeArgumentsVariable);
  std::u16string users_own;
  if (const DWORD length = GetEnvironmentVariableW(name.c_str(), nullptr, 0); length > 0) {
    std::wstring value(length, L'\0');
    value.resize(GetEnvironmentVariableW(name.c_str(), value.data(), length));
    users_own.assign(value.begin(), value.end());
  }
  const std::string arguments = EdgeBrowserArguments(Utf16ToUtf8(users_own), config.proxy);
  if (!SetEnvironmentVariableW(name.c_str(), Wide(arguments).c_str())) {
    DebugTrace("page", "the switches of Edge's engine were not set: error " +
                           std::to_string(GetLastError()));
  }
}

}  // namespace talvo
