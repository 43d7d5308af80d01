#include "core/debug_trace.h"

#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <string>

namespace talvo {

bool DebugTraceOn() {
  // Read once: the environment is not for reading while other threads may write it.
  static const bool on = [] {
    const char* value = std::getenv("TALVO_DEBUG");
    return value != nullptr && std::string_view(value) == "1";
  }();
  return on;
}

void DebugTrace(std::string_view area, std::string_view what) {
  if (!DebugTraceOn()) return;
  std::string line = "talvo debug: ";
  line.append(area).append(": ").append(what).push_back('\n');
  static std::mutex mutex;
  const std::lock_guard lock(mutex);
  std::fwrite(line.data(), 1, line.size(), stderr);
}

}  // namespace talvo
