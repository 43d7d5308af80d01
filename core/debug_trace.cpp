#include "core/debug_trace.h"

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <mutex>
#include <string>
#include <system_error>

namespace talvo {
namespace {

std::mutex g_mutex;
std::filesystem::path g_log;  // guarded by g_mutex

std::string WithoutPasswords(std::string_view what) {
  std::string text(what);
  for (std::size_t at = 0; (at = text.find("pw=", at)) != std::string::npos; at += 3) {
    if (at > 0 && text[at - 1] != '?' && text[at - 1] != '&') continue;
    const std::size_t end = std::min(text.find_first_of("&#: ", at + 3), text.size());
    text.replace(at + 3, end - at - 3, "***");
  }
  return text;
}

void AppendToLog(const std::string& line) {
  std::error_code error;
  if (std::filesystem::file_size(g_log, error) >= kTraceLogMaxBytes && !error) {
    std::filesystem::path older = g_log;
    older += ".1";
    // Not every system's rename replaces a file that is there.
    std::filesystem::remove(older, error);
    std::filesystem::rename(g_log, older, error);
  }
  std::ofstream(g_log, std::ios::app | std::ios::binary) << line;
}

}  // namespace

bool DebugTraceOn() {
  // Read once: the environment is not for reading while other threads may write it.
  static const bool on = [] {
    const char* value = std::getenv("TALVO_DEBUG");
    return value != nullptr && std::string_view(value) == "1";
  }();
  return on;
}

void SetTraceLog(const std::filesystem::path& file) {
  const std::lock_guard lock(g_mutex);
  g_log = file;
}

void DebugTrace(std::string_view area, std::string_view what) {
  std::string entry(area);
  entry.append(": ").append(WithoutPasswords(what)).push_back('\n');
  const std::lock_guard lock(g_mutex);
  if (DebugTraceOn()) {
    const std::string line = "talvo debug: " + entry;
    std::fwrite(line.data(), 1, line.size(), stderr);
  }
  if (g_log.empty()) return;
  const std::time_t now = std::time(nullptr);
  // Read under the lock and copied at once; the client reads the local time nowhere else.
  const std::tm* local = std::localtime(&now);
  char time[32];
  if (local == nullptr || std::strftime(time, sizeof time, "%Y-%m-%d %H:%M:%S ", local) == 0)
    return;
  AppendToLog(time + entry);
}

}  // namespace talvo
