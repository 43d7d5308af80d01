// Any Content-Disposition header gives a download name that names a file in the chosen folder and
// nothing else: not empty, at most 200 bytes, no folder, no control characters, no leading dot or
// blank.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "platform/web/page_safety.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string name = talvo::SafeDownloadName(
      talvo::DispositionFileName(std::string_view(reinterpret_cast<const char*>(data), size)));
  if (name.empty() || name.size() > 200 || name.front() == '.' || name.front() == ' ') std::abort();
  for (const char c : name) {
    const auto byte = static_cast<unsigned char>(c);
    if (c == '/' || c == '\\' || byte < 0x20 || byte == 0x7F) std::abort();
  }
  return 0;
}
